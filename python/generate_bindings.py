#!/usr/bin/python3
"""Generates the motqr extension's bindings from the interface declarations.

Reads interfaces/*.h (one virtual member per declaration, in interface order),
interfaces/enums.def and, for the docstrings, the driver's member listing: the
output of the motqr-member-listing program, one member a line, tab-separated
(interface, member, kind, arguments, results, query, reply, set, sim; an empty
field stands for none). Writes:

  bindings_<n>.cpp   the pybind11 classes, a few interfaces per file
  module_data.cpp    the Python half of the module (support.py + the enumerations)
  motqr.pyi          the type stub installed beside the module

    generate_bindings.py --interfaces DIR --member-listing PROGRAM --support support.py --out DIR
"""

import argparse
import keyword
import os
import re
import subprocess
import sys

PARTS = 4  # translation units the classes are spread over

# Members whose array argument is filled in place: the size the caller may
# give defaults to twice the point count (a voltage and a current per point).
IN_OUT_ARRAYS = {
    ("IMorvaneTqrOutputChannelIV", "GetCurrentIVMap"): "CurrentIVPointCount",
    ("IMorvaneTqrOutputChannelIV", "GetVoltageIVMap"): "VoltageIVPointCount",
}
# Element type of an array input, by parameter name (32-bit integers otherwise).
IN_ARRAY_TYPES = {"Data": "VT_R8", "Buffer": "VT_UI1"}
# Members no Python caller can use: the session's VISA-COM object.
SKIPPED = {("IMorvaneTqrSystem", "get_DirectIO")}


# ---- names -----------------------------------------------------------------

def snake(name):
    """CamelCase to snake_case, runs of capitals kept as one word (IRLevel -> ir_level)."""
    s = re.sub(r"([A-Z]+)([A-Z][a-z])", r"\1_\2", name)
    s = re.sub(r"([a-z0-9])([A-Z])", r"\1_\2", s)
    s = s.lower()
    return s + "_" if keyword.iskeyword(s) else s


def class_name(interface):
    """IMorvaneTqrOutputChannel -> MorvaneTqrOutputChannel (the enumerations take the short names)."""
    return interface[1:]


def enum_class_name(enum):
    name = enum[: -len("Enum")] if enum.endswith("Enum") else enum
    if name.startswith("MorvaneTqr"):
        name = name[len("MorvaneTqr"):]
    return name


def enum_member_name(enum, member):
    """The member without the enumeration's stem, in UPPER_SNAKE."""
    if "_" in member:  # already upper case (the error codes)
        return member
    stem = enum[: -len("Enum")]
    n = 0
    while n < min(len(stem), len(member)) and stem[n] == member[n]:
        n += 1
    # Back off to the start of a word of the member.
    while n > 0 and n < len(member) and not (member[n].isupper() or member[n].isdigit()):
        n -= 1
    rest = member[n:] or member
    name = snake(rest).rstrip("_").upper()
    return "_" + name if name[0].isdigit() else name


# ---- parsing -----------------------------------------------------------------

class Param:
    def __init__(self, ctype, name):
        self.ctype = ctype
        self.name = name

    @property
    def base(self):
        return self.ctype.rstrip("*").strip()

    @property
    def stars(self):
        return self.ctype.count("*")


class Member:
    def __init__(self, interface, name, params, comment):
        self.interface = interface
        self.name = name
        self.params = params
        self.comment = comment


class Interface:
    def __init__(self, name, base, comment):
        self.name = name
        self.base = base
        self.comment = comment
        self.members = []


def parse_interfaces(directory):
    interfaces = {}
    for file in sorted(os.listdir(directory)):
        if not file.endswith(".h"):
            continue
        with open(os.path.join(directory, file), encoding="utf-8") as f:
            lines = f.read().split("\n")
        current = None
        comment = []
        i = 0
        while i < len(lines):
            line = lines[i].strip()
            i += 1
            if line.startswith("//"):
                comment.append(line[2:].strip())
                continue
            m = re.match(r"class (I\w+) : public ([\w:]+) \{", line)
            if m:
                base = m.group(2).split("::")[-1]
                current = Interface(m.group(1), None if base == "IUnknown" else base, comment)
                interfaces[current.name] = current
                comment = []
                continue
            if line.startswith("virtual HRESULT") and current:
                decl = line
                while not decl.endswith("= 0;"):
                    decl += " " + lines[i].strip()
                    i += 1
                m = re.match(r"virtual HRESULT (\w+)\((.*)\) = 0;", decl)
                params = []
                for p in filter(None, (x.strip() for x in m.group(2).split(","))):
                    ctype, name = p.rsplit(" ", 1)
                    while name.startswith("*"):
                        ctype, name = ctype + "*", name[1:]
                    params.append(Param(ctype.strip(), name))
                current.members.append(Member(current.name, m.group(1), params, comment))
                comment = []
                continue
            if line.startswith("};"):
                current = None
            comment = []
    return interfaces


def parse_enums(path):
    enums = []
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for m in re.finditer(r"^MOTQR_ENUM_(BEGIN|VALUE)\((\w+)(?:, (\w+), (-?\d+))?\)", text, re.M):
        if m.group(1) == "BEGIN":
            enums.append((m.group(2), []))
        else:
            enums[-1][1].append((m.group(3), int(m.group(4))))
    return enums


class Row:
    """One line of the member listing."""
    FIELDS = ("interface", "member", "kind", "arguments", "results", "query", "reply", "set",
              "sim")

    def __init__(self, fields):
        for name, value in zip(self.FIELDS, fields):
            setattr(self, name, value)

    @property
    def by_hand(self):
        return self.kind.endswith(" by hand")


def parse_rows(text):
    """{(interface, member): Row} from the listing's text."""
    rows = {}
    for number, line in enumerate(text.splitlines(), 1):
        fields = line.split("\t")
        if len(fields) != len(Row.FIELDS):
            raise ValueError("member listing line %d: %d fields, not %d"
                             % (number, len(fields), len(Row.FIELDS)))
        rows[(fields[0], fields[1])] = Row(fields)
    return rows


def run_listing(program):
    return subprocess.run([program], check=True, stdout=subprocess.PIPE,
                          encoding="utf-8").stdout


# ---- one Python member per interface member -----------------------------------

def all_members(interfaces, name):
    chain = []
    while name:
        chain.append(interfaces[name])
        name = interfaces[name].base
    members = []
    for iface in reversed(chain):
        members.extend(iface.members)
    return members


def to_python(expr):
    """The C++ expression of a Python result (some conversions already give one)."""
    if expr.startswith(("EnumValue(", "OutArray(", "InOutArray(", "NewObject(")):
        return expr
    return "py::cast(%s)" % expr


def cpp_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


class Generator:
    def __init__(self, interfaces, enums, rows):
        self.interfaces = interfaces
        self.enums = enums
        self.enum_index = {name: i for i, (name, _) in enumerate(enums)}
        self.rows = rows
        bases = {i.base for i in interfaces.values() if i.base}
        self.classes = [n for n in interfaces if n not in bases]

    def is_enum(self, ctype):
        return ctype in self.enum_index

    def is_interface(self, ctype):
        return ctype in self.interfaces

    # -- docstrings

    def row_doc(self, row, what):
        kind = row.kind[: -len(" by hand")] if row.by_hand else row.kind
        parts = ["Kind: %s%s." % (kind, " (written by hand in the driver)" if row.by_hand else "")]
        if row.query:
            reply = row.reply
            if not reply and kind.endswith("property"):
                # A property's reply is read as its type when its row names no format.
                reply = "%lf" if row.arguments in ("double", "float") else "%d"
            parts.append("Sends %s" % row.query + (" and reads the reply with %s." % reply
                                                  if reply else "."))
        if row.set:
            parts.append(("Sets with %s." if what == "property" else "Sends %s.") % row.set)
        if kind.startswith("unsupported"):
            parts.append("Not supported by this instrument.")
        if kind != "interface":
            parts.append("Simulated: %s." % ("yes" if row.sim == "sim" else
                                              "no (needs the instrument)"))
        return " ".join(parts)

    def doc(self, member, signature, what):
        lines = ["%s -- %s.%s" % (signature, member.interface, member.name)]
        row = self.rows.get((member.interface, re.sub(r"^(get|put)_", "", member.name)))
        if member.comment:
            lines.append(" ".join(member.comment))
        if row:
            lines.append(self.row_doc(row, what))
        if (member.interface, member.name) in IN_OUT_ARRAYS:
            lines.append("Reads `size` values (a voltage and a current per point; twice the point "
                         "count when omitted) into a new float64 array, NaN where the reply has "
                         "none.")
        elif len(member.params) == 1 and self.is_interface(member.params[0].base):
            lines.append("The %s interface of the same object; no I/O."
                         % class_name(member.params[0].base))
        elif member.params and self.is_interface(member.params[-1].base):
            lines.append("The %s object it names; no I/O." % class_name(member.params[-1].base))
        elif not row:
            lines.append("Written by hand in the driver: the member listing does not list it.")
        return "\n\n".join(lines)

    # -- code

    def in_arg(self, p):
        """(python parameter declaration, C++ argument expression, setup code, stub type)."""
        n = snake(p.name).rstrip("_") + "_"
        b, s = p.base, p.stars
        if p.ctype == "BSTR":
            return ("const std::string& " + n, n + "_b.Get()",
                    "com::Bstr %s_b = com::Bstr::FromUtf8(%s);" % (n, n), "str")
        if p.ctype == "VARIANT_BOOL":
            return ("bool " + n, "%s ? com::VARIANT_TRUE : com::VARIANT_FALSE" % n, "", "bool")
        if p.ctype == "com::SAFEARRAY*":
            vt = IN_ARRAY_TYPES.get(p.name, "VT_I4")
            stub = {"VT_R8": "ArrayLike", "VT_UI1": "bytes | ArrayLike"}.get(vt, "ArrayLike")
            return ("py::handle " + n, n + "_a.Get()",
                    "com::SafeArray %s_a = InArray(%s, com::%s);" % (n, n, vt), stub)
        if self.is_enum(p.ctype):
            return ("std::int32_t " + n, "static_cast<%s>(%s)" % (p.ctype, n), "",
                    enum_class_name(p.ctype))
        if s == 0:
            stub = "float" if p.ctype == "double" else "int"
            return ("%s %s" % (p.ctype, n), n, "", stub)
        raise ValueError("unknown in parameter %s %s" % (p.ctype, p.name))

    def out_arg(self, p):
        """(declaration, C++ argument, Python result expression, stub type)."""
        n = "out_" + snake(p.name).rstrip("_")
        b = p.ctype[:-1]
        if b == "BSTR":
            return ("com::Bstr %s;" % n, n + ".Put()", n + ".ToUtf8()", "str")
        if b == "VARIANT_BOOL":
            return ("VARIANT_BOOL %s{};" % n, "&" + n, n + " != com::VARIANT_FALSE", "bool")
        if b == "com::SAFEARRAY*":
            return ("com::SafeArray %s;" % n, n + ".Put()", "OutArray(%s)" % n,
                    "numpy.ndarray | list[str]")
        if self.is_enum(b):
            return ("%s %s{};" % (b, n), "&" + n,
                    "EnumValue(%d, %s)" % (self.enum_index[b], n), enum_class_name(b))
        if b in ("double", "std::int32_t", "std::int16_t", "std::int64_t"):
            return ("%s %s{};" % (b, n), "&" + n, n, "float" if b == "double" else "int")
        if b.endswith("*") and self.is_interface(b[:-1]):
            target = b[:-1]
            return ("Obj<%s> %s{{}, o.root};" % (target, n), n + ".p.Put()",
                    "NewObject(std::move(%s))" % n, class_name(target))
        raise ValueError("unknown out parameter %s %s" % (p.ctype, p.name))

    def method(self, iface, member, pyname, cls_var, stubs):
        ins = [p for p in member.params if p.stars == 0 or p.ctype in ("BSTR", "com::SAFEARRAY*")]
        outs = [p for p in member.params if p not in ins]
        key = (member.interface, member.name)
        decls, args, setup, pyargs, stub_args, results, stub_results = [], [], [], [], [], [], []
        for p in member.params:
            if p in ins:
                d, a, s, t = self.in_arg(p)
                decls.append(d)
                args.append(a)
                if s:
                    setup.append(s)
                pyargs.append('py::arg("%s")' % snake(p.name))
                stub_args.append("%s: %s" % (snake(p.name), t))
            elif key in IN_OUT_ARRAYS:
                n = "out_" + snake(p.name)
                count = IN_OUT_ARRAYS[key]
                decls.append("std::optional<std::int32_t> size")
                setup.append("std::int32_t count = 0;\n"
                             "    if (!size) Call([&] { return o.p->get_%s(&count); });\n"
                             "    com::SafeArray %s = NaNArray(size ? *size : 2 * count);\n"
                             "    com::SAFEARRAY* %s_raw = %s.Get();" % (count, n, n, n))
                args.append("&%s_raw" % n)
                results.append("InOutArray(%s, %s_raw)" % (n, n))
                pyargs.append('py::arg("size") = py::none()')
                stub_args.append("size: int | None = None")
                stub_results.append("numpy.ndarray")
            else:
                d, a, r, t = self.out_arg(p)
                setup.append(d)
                args.append(a)
                results.append(r)
                stub_results.append(t)
        body = []
        body.extend(setup)
        call = "o.p->%s(%s)" % (member.name, ", ".join(args))
        body.append("Call([&] { return %s; });" % call)
        if not results:
            ret_stub = "None"
        elif len(results) == 1:
            body.append("return %s;" % to_python(results[0]))
            ret_stub = stub_results[0]
        else:
            body.append("return py::make_tuple(%s);" % ", ".join(results))
            ret_stub = "tuple[%s]" % ", ".join(stub_results)
        lambda_params = ", ".join(["Obj<%s>& o" % iface] + decls)
        ret = "py::object" if results else "void"
        signature = "%s(%s) -> %s" % (pyname, ", ".join(s.split(":")[0] for s in stub_args),
                                     ret_stub)
        doc = self.doc(member, signature, "method")
        code = "  %s.def(\"%s\", [](%s) -> %s {\n    %s\n  }%s, %s);\n" % (
            cls_var, pyname, lambda_params, ret, "\n    ".join(body),
            "".join(", " + a for a in pyargs), cpp_string(doc))
        stubs.append("    def %s(self%s) -> %s:\n        %s\n" % (
            pyname, "".join(", " + a for a in stub_args), ret_stub,
            '"""' + doc.replace("\\", "\\\\").replace('"""', "'''") + '"""'))
        return code

    def interface_class(self, iface):
        cls = class_name(iface)
        var = "c_" + cls
        members = all_members(self.interfaces, iface)
        names = {m.name for m in members}
        out = []
        stubs = []
        out.append("  auto %s = py::class_<Obj<%s>>(m, \"%s\", %s);\n" % (
            var, iface, cls, cpp_string(" ".join(self.interfaces[iface].comment) or cls)))
        stubs.append("class %s:\n    \"\"\"%s\"\"\"\n" % (
            cls, " ".join(self.interfaces[iface].comment).replace('"', "'") or cls))
        done = set()
        for member in members:
            if (member.interface, member.name) in SKIPPED or member.name in done:
                continue
            done.add(member.name)
            m = re.match(r"(get|put)_(\w+)$", member.name)
            if member.name == "Initialize":
                continue  # hand-written (keyword defaults), see module.cpp
            if m and m.group(1) == "put" and "get_" + m.group(2) in names:
                continue  # paired with its getter
            is_property = (m and not [p for p in member.params if p.stars == 0 or
                                      p.ctype in ("BSTR", "com::SAFEARRAY*")]
                           and len(member.params) == 1)
            if m and is_property:
                out.append(self.property(iface, member, m.group(2), names, var, stubs, members))
            else:
                pyname = snake(m.group(2) if m else member.name)
                out.append(self.method(iface, member, pyname, var, stubs))
        if {"get_Item", "get_Count", "get_Name"} <= names:
            out.append("  AddCollection(%s);\n" % var)
            stubs.append("    def __getitem__(self, key: str | int) -> %s: ...\n"
                         "    def __len__(self) -> int: ...\n"
                         "    def __iter__(self) -> Iterator[%s]: ...\n" % (
                             self.item_class(members), self.item_class(members)))
        return cls, out, stubs

    def item_class(self, members):
        for m in members:
            if m.name == "get_Item":
                return class_name(m.params[-1].ctype.rstrip("*"))
        return "object"

    def property(self, iface, getter, prop, names, var, stubs, members):
        p = getter.params[0]
        decl, arg, result, stub = self.out_arg(p)
        pyname = snake(prop)
        get_code = "[](Obj<%s>& o) -> py::object {\n    %s\n    Call([&] { return o.p->%s(%s); });\n    return %s;\n  }" % (
            iface, decl, getter.name, arg, to_python(result))
        setter = next((m for m in members if m.name == "put_" + prop), None)
        what = "property" if setter else "read-only property"
        doc = self.doc(getter, "%s: %s (%s)" % (pyname, stub, what), "property")
        if setter:
            sp = setter.params[0]
            d, a, s, t = self.in_arg(sp)
            set_code = "[](Obj<%s>& o, %s) {\n    %s\n    Call([&] { return o.p->%s(%s); });\n  }" % (
                iface, d, s, setter.name, a)
            code = "  %s.def_property(\"%s\", %s, %s, %s);\n" % (var, pyname, get_code, set_code,
                                                               cpp_string(doc))
        else:
            code = "  %s.def_property_readonly(\"%s\", %s, %s);\n" % (var, pyname, get_code,
                                                                   cpp_string(doc))
        docstr = '"""' + doc.replace("\\", "\\\\").replace('"""', "'''") + '"""'
        stubs.append("    @property\n    def %s(self) -> %s:\n        %s\n" % (pyname, stub, docstr))
        if setter:
            stubs.append("    @%s.setter\n    def %s(self, value: %s) -> None: ...\n" % (
                pyname, pyname, stub))
        return code


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--interfaces", required=True)
    ap.add_argument("--member-listing", required=True,
                    help="the motqr-member-listing program")
    ap.add_argument("--support", required=True)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()

    interfaces = parse_interfaces(args.interfaces)
    enums = parse_enums(os.path.join(args.interfaces, "enums.def"))
    gen = Generator(interfaces, enums, parse_rows(run_listing(args.member_listing)))
    clashes = {class_name(i) for i in gen.classes} & {enum_class_name(e) for e, _ in enums}
    if clashes:
        sys.exit("generate_bindings.py: classes and enumerations share names: %s" % clashes)

    header = ("// Generated by python/generate_bindings.py from interfaces/*.h; do not edit.\n"
              "#include \"python/src/binding.h\"\n\n"
              "namespace motqr::python {\n\n")
    stub_classes = []
    parts = [[] for _ in range(PARTS)]
    for i, iface in enumerate(gen.classes):
        cls, code, stubs = gen.interface_class(iface)
        parts[i % PARTS].append((cls, code))
        stub_classes.append("".join(stubs))
    for n, part in enumerate(parts):
        body = "".join("  {  // %s\n%s  }\n" % (cls, "".join(code)) for cls, code in part)
        text = header + "void BindPart%d(py::module_& m) {\n%s}\n\n}  // namespace motqr::python\n" % (
            n, body)
        write(os.path.join(args.out, "bindings_%d.cpp" % n), text)

    # The Python half: the hand-written support code, then the enumerations.
    with open(args.support, encoding="utf-8") as f:
        support = f.read()
    enum_src = []
    enum_stub = []
    for name, members in enums:
        cls = enum_class_name(name)
        body = "".join("    %s = %d\n" % (enum_member_name(name, m), v) for m, v in members)
        enum_src.append("class %s(enum.IntEnum):\n    \"\"\"%s\"\"\"\n%s\n" % (cls, name, body))
        enum_stub.append("class %s(enum.IntEnum):\n%s\n" % (cls, body))
    enum_src.append("_ENUMS = (%s,)\n" % ", ".join(enum_class_name(n) for n, _ in enums))
    source = support + "\n\n" + "".join(enum_src)
    chunks = [source[i:i + 8000] for i in range(0, len(source), 8000)]
    data = ("// Generated by python/generate_bindings.py; do not edit.\n"
            "#include \"python/src/binding.h\"\n\nnamespace motqr::python {\n\n"
            "const char* const kPythonSource[] = {\n%s    nullptr};\n\n"
            "}  // namespace motqr::python\n") % "".join(
                "    R\"motqr(%s)motqr\",\n" % c for c in chunks)
    write(os.path.join(args.out, "module_data.cpp"), data)

    stub = ["# Type stub of the motqr extension module (generated; do not edit).\n",
            "import enum\nfrom typing import Iterator, Sequence, Any\n\nimport numpy\n\n",
            "ArrayLike = Sequence[float] | numpy.ndarray\n\n",
            "class Error(Exception):\n    code: int\n    description: str\n"
            "    def __init__(self, code: int, description: str) -> None: ...\n\n",
            "class DriverWarning(UserWarning):\n    code: int\n    description: str\n\n",
            "def open(resource: str, id_query: bool = True, reset: bool = False, "
            "options: str = \"\") -> MorvaneTqr: ...\n\n"]
    stub.extend(enum_stub)
    for s in stub_classes:
        if s.startswith("class MorvaneTqr:"):
            s = s.replace("class MorvaneTqr:\n", "class MorvaneTqr:\n"
                          "    def __init__(self) -> None: ...\n"
                          "    def initialize(self, resource: str, id_query: bool = True, "
                          "reset: bool = False, options: str = \"\") -> None: ...\n"
                          "    def __enter__(self) -> MorvaneTqr: ...\n"
                          "    def __exit__(self, *exc: Any) -> None: ...\n"
                          "    @property\n    def ivi_dcpwr(self) -> IviDCPwr: ...\n", 1)
        stub.append(s + "\n")
    write(os.path.join(args.out, "motqr.pyi"), "".join(stub))


def write(path, text):
    # Leave an unchanged file alone so that nothing recompiles.
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    sys.exit(main())
