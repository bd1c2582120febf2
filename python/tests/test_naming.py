"""Every member of every interface declaration is reachable under the naming rule."""
import pathlib
import re

import pytest

import motqr

from conftest import ROOT

INTERFACES = ROOT / "interfaces"


def snake(name):
    """The rule as documented: runs of capitals form one word, keywords get a trailing _."""
    words = re.findall(r"[A-Z]+(?=[A-Z][a-z])|[A-Z]?[a-z]+[0-9]*|[A-Z]+[0-9]*|[0-9]+", name)
    result = "_".join(w.lower() for w in words)
    return result + "_" if result in ("global", "class", "import") else result


def declarations():
    """{interface: (base, [member names])} read from the headers."""
    found = {}
    for header in sorted(INTERFACES.glob("*.h")):
        text = header.read_text()
        for cls, base, body in re.findall(r"class (I\w+) : public ([\w:]+) \{(.*?)\n\};", text,
                                          re.S):
            members = re.findall(r"virtual HRESULT (\w+)\(", body)
            found[cls] = (base.split("::")[-1], members)
    return found


# Where each interface is found, starting from a MorvaneTqr (the navigation).
PATHS = {
    "IMorvaneTqr": "", "IIviDriver": "", "IMorvaneTqrOutputs": "outputs",
    "IMorvaneTqrOutputChannel": "outputs[0]", "IMorvaneTqrOutputChannelProtection":
    "outputs[0].protection", "IMorvaneTqrOutputChannelPulse": "outputs[0].pulse",
    "IMorvaneTqrOutputChannelSine": "outputs[0].sine", "IMorvaneTqrOutputChannelIV":
    "outputs[0].iv", "IMorvaneTqrSystem": "system", "IMorvaneTqrSystemAnalog": "system.analog",
    "IMorvaneTqrSystemIO": "system.io", "IMorvaneTqrSystemMemory": "system.memory",
    "IMorvaneTqrSystemDiagnostic": "system.diagnostic", "IMorvaneTqrData": "data",
    "IMorvaneTqrProgram": "program", "IMorvaneTqrSense": "sense", "IMorvaneTqrStatus": "status",
    "IMorvaneTqrStatusQuestionable": "status.questionable", "IMorvaneTqrStatusOperation":
    "status.operation", "IMorvaneTqrTrigger": "trigger", "IMorvaneTqrGlobal": "global_",
    "IIviDriverOperation": "driver_operation", "IIviDriverIdentity": "identity",
    "IIviComponentIdentity": "identity", "IIviDriverUtility": "utility",
    "IIviDCPwr": "ivi_dcpwr", "IIviDCPwrOutputs": "ivi_dcpwr.outputs",
    "IIviDCPwrOutput": "ivi_dcpwr.outputs[0]", "IIviDCPwrTrigger": "ivi_dcpwr.trigger",
}
# The session's VISA-COM object has no Python form.
NOT_BOUND = {("IMorvaneTqrSystem", "get_DirectIO")}


def resolve(obj, path):
    for attr, index in re.findall(r"(\w+)|\[(\d+)\]", path):
        obj = obj[int(index)] if index else getattr(obj, attr)
    return obj


def test_the_rule_on_the_documented_examples():
    assert [snake(n) for n in ("VoltageLevel", "QueryVoltageLevelMinMax", "IRLevel", "OVPLevel",
                               "MeasureAll", "IV", "Global")] == [
        "voltage_level", "query_voltage_level_min_max", "ir_level", "ovp_level", "measure_all",
        "iv", "global_"]


def test_every_declared_member_is_reachable(simulated):
    decls = declarations()
    assert set(decls) == set(PATHS), "an interface without a known path"
    missing = []
    for interface, (_, members) in decls.items():
        cls = type(resolve(simulated, PATHS[interface]))
        for member in members:
            if (interface, member) in NOT_BOUND:
                continue
            kind, _, prop = member.partition("_") if member[:4] in ("get_", "put_") else (
                "", "", member)
            name = snake(prop)
            attr = getattr(cls, name, None)
            if attr is None:
                missing.append("%s.%s -> %s" % (interface, member, name))
                continue
            if kind == "put" and "get_" + prop in members:
                assert isinstance(attr, property) and attr.fset is not None, member
            if kind == "get" and "put_" + prop not in members and isinstance(attr, property):
                assert attr.fset is None, "%s.%s should be read-only" % (interface, member)
            assert attr.__doc__ and interface in attr.__doc__, member
    assert not missing


def test_docstrings_name_commands_and_keep_header_comments(simulated):
    # Commands and reply formats written out from the instrument's command set.
    protection = type(simulated.outputs[0].protection).ovp_level.__doc__
    assert "Sends :VOLT:PROT? and reads the reply with %lf." in protection
    assert "Sets with :VOLT:PROT %0.6lg." in protection and "Simulated: yes." in protection
    transient = type(simulated.trigger).query_transient_info.__doc__
    assert ":TRIG:TRAN:EXEC?" in transient and "%$C[^,], %$C[^,], %d, %d" in transient
    assert "by hand" in transient and "Simulated: no" in transient
    ovp = type(simulated.ivi_dcpwr.outputs[0]).configure_ovp.__doc__
    assert "Sends VOLT:PROT %f." in ovp and "by hand" in ovp
    # A member's comment in its interface header reaches its docstring.
    comments = 0
    for header in sorted(INTERFACES.glob("*.h")):
        for cls, body in re.findall(r"class (I\w+) : public [\w:]+ \{(.*?)\n\};", header.read_text(),
                                    re.S):
            for comment, member in re.findall(r"((?:\n *//[^\n]*)+)\n *virtual HRESULT (\w+)\(",
                                              body):
                text = " ".join(line.strip()[2:].strip() for line in comment.strip().split("\n"))
                name = snake(re.sub(r"^(get|put)_", "", member))
                doc = getattr(type(resolve(simulated, PATHS[cls])), name).__doc__
                assert text in doc, (cls, member)
                comments += 1
    assert comments >= 5


def test_enumerations_follow_the_rule():
    text = (INTERFACES / "enums.def").read_text()
    enums = {}
    for enum, member, value in re.findall(r"^MOTQR_ENUM_VALUE\((\w+), (\w+), (-?\d+)\)", text,
                                          re.M):
        enums.setdefault(enum, []).append((member, int(value)))
    assert len(enums) > 30
    for enum, members in enums.items():
        stem = enum[:-4]
        cls = getattr(motqr, stem[len("MorvaneTqr"):] if stem.startswith("MorvaneTqr") else stem)
        assert sorted(m.value for m in cls) == sorted(v for _, v in members), enum
        for member, value in members:
            if member.startswith(stem) and len(member) > len(stem):
                name = snake(member[len(stem):]).upper()
                assert cls[name] == value, (enum, member, name)
    assert motqr.MeasurementType.VOLTAGE == 0
    assert motqr.IviDCPwrMeasurementType.VOLTAGE == 1
    assert motqr.IviDCPwrOutputState.CONSTANT_VOLTAGE == 0


def test_stub_lists_every_class():
    stub = pathlib.Path(motqr.__file__).with_name("motqr.pyi").read_text()
    for name in ("MorvaneTqr", "MorvaneTqrOutputChannel", "MorvaneTqrOutputChannelIV", "IviDCPwrOutput",
                 "MeasurementType", "Error"):
        assert re.search(r"^class %s\b" % name, stub, re.M), name
    assert "def query_voltage_level_min_max(self) -> tuple[float, float]" in stub
