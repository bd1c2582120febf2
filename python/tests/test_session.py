"""Sessions through the module: simulated and against tqr-sim on the wire."""
import threading
import time
import warnings

import numpy
import pytest

import motqr

from conftest import Sim

NOT_INITIALIZED = 0x8004701D - (1 << 32)  # E_IVI_NOT_INITIALIZED as a signed 32-bit status
INSTRUMENT_STATUS = 0x80047001 - (1 << 32)  # E_IVI_INSTRUMENT_STATUS


def test_simulated_session_keeps_values_and_enumerations(simulated):
    ch = simulated.outputs["OutputChannel1"]
    ch.voltage_level = 12.5
    ch.current_mode = motqr.OutputFunctionMode.PULSE
    ch.protection.ovp_level = 30
    assert ch.voltage_level == 12.5
    assert ch.current_mode is motqr.OutputFunctionMode.PULSE
    assert ch.protection.ovp_level == 30.0
    assert simulated.initialized
    with pytest.raises(AttributeError):
        simulated.system.parallel_unit = 2  # read-only in the interface


def test_channels_by_name_index_and_iteration(tqr):
    outputs = tqr.outputs
    assert len(outputs) >= 1
    names = [outputs.name(i + 1) for i in range(len(outputs))]
    assert names[0] == "OutputChannel1"
    assert [type(c).__name__ for c in outputs] == ["MorvaneTqrOutputChannel"] * len(names)
    outputs[0].voltage_level = 2.25
    assert outputs["OutputChannel1"].voltage_level == pytest.approx(2.25)
    assert type(outputs[-1]) is type(outputs[0])
    with pytest.raises(IndexError):
        outputs[len(outputs)]
    with pytest.raises(motqr.Error) as caught:
        outputs["NoSuchChannel"]
    assert caught.value.code < 0 and "NoSuchChannel" in caught.value.description


def test_wire_values_measurements_and_min_max(tqr):
    ch = tqr.outputs[0]
    ch.voltage_level = 5.0
    ch.current_level = 2.0
    ch.enabled = True
    volts = ch.measure(motqr.MeasurementType.VOLTAGE)
    amps = ch.measure(motqr.MeasurementType.CURRENT)
    # tqr-sim's default load is 10 ohm.
    assert volts == pytest.approx(5.0, rel=1e-3)
    assert amps == pytest.approx(0.5, rel=1e-3)
    every = ch.measure_all()
    assert isinstance(every, numpy.ndarray) and every.dtype == numpy.float64
    assert every[0] == pytest.approx(5.0, rel=1e-3) and every[1] == pytest.approx(0.5, rel=1e-3)
    low, high = ch.query_voltage_level_min_max()
    assert low < 0 < 5.0 < high  # a bipolar supply
    state, program, step, loop = tqr.trigger.query_transient_info()
    assert isinstance(state, motqr.TransientState) and isinstance(program, str)
    ch.enabled = False


def test_iv_map_round_trip_through_numpy(tqr):
    iv = tqr.outputs[0].iv
    points = numpy.array([[-4.0, 0.5], [0.0, 0.0], [1.5, 0.25], [7.25, 1.125]])
    iv.set_voltage_iv_map(points.ravel())
    assert iv.voltage_iv_point_count == 4
    back = iv.get_voltage_iv_map()
    assert back.dtype == numpy.float64
    numpy.testing.assert_allclose(back.reshape(-1, 2), points, atol=1e-6)
    assert iv.get_voltage_iv_map(4).tolist() == pytest.approx([-4.0, 0.5, 0.0, 0.0])
    iv.set_voltage_iv_map([1.0, 0.5])  # any sequence
    assert iv.get_voltage_iv_map().tolist() == [1.0, 0.5]
    assert len(iv.get_all_voltage_iv_points()) == 2
    with pytest.raises(motqr.Error):
        iv.set_voltage_iv_map([])  # the driver refuses an empty map


def test_instrument_errors_carry_code_and_text(tqr):
    with pytest.raises(motqr.Error) as caught:
        tqr.outputs[0].voltage_level = 1e6  # out of range on the instrument
    error = caught.value
    assert error.code == INSTRUMENT_STATUS
    assert isinstance(error, Exception) and error.description
    assert error.description in str(error) and "0x80047001" in str(error)


def test_closed_session_raises_not_crashes(sim):
    driver = motqr.open(sim.resource)
    ch = driver.outputs[0]
    iv = ch.iv
    driver.close()
    del driver
    for call in (lambda: ch.voltage_level, lambda: iv.get_voltage_iv_map(4),
                 lambda: setattr(ch, "enabled", True)):
        with pytest.raises(motqr.Error) as caught:
            call()
        assert caught.value.code == NOT_INITIALIZED


def test_threads_sharing_a_session_get_their_own_replies(tqr):
    ch = tqr.outputs[0]
    ch.voltage_level = 3.0
    ch.protection.ovp_level = 11.0
    ch.current_level = 1.5
    reads = [lambda: ch.voltage_level, lambda: ch.protection.ovp_level, lambda: ch.current_level]
    expected = [3.0, 11.0, 1.5]
    wrong = []

    def worker(k):
        for _ in range(60):
            value = reads[k]()
            if value != expected[k]:
                wrong.append((k, value))

    threads = [threading.Thread(target=worker, args=(k % 3,)) for k in range(6)]
    for t in threads:
        t.start()
    for t in threads:
        t.join(30)
    assert not wrong


def test_calls_release_the_gil():
    slow = Sim("--delay-ms", "300")
    try:
        driver = motqr.open(slow.resource, id_query=False)
        ch = driver.outputs[0]
        call = []

        def read():
            call.append(time.monotonic())
            ch.voltage_level
            call.append(time.monotonic())

        thread = threading.Thread(target=read)
        thread.start()
        busy = set()  # the milliseconds in which the main thread ran
        deadline = time.monotonic() + 20
        while len(call) < 2 and time.monotonic() < deadline:
            busy.add(int(time.monotonic() * 1000))
        thread.join(20)
        driver.close()
        assert len(call) == 2 and call[1] - call[0] >= 0.25
        # The main thread ran while the other one waited for the reply.
        inside = range(int((call[0] + 0.05) * 1000), int((call[1] - 0.05) * 1000))
        assert len(busy.intersection(inside)) >= 10
    finally:
        slow.stop()


def test_raw_io_takes_bytes_and_text(tqr):
    system = tqr.system
    assert system.write_bytes(b"*IDN?\n") == 6
    assert "TQR-M" in system.read_string()
    system.write_string("*IDN?\n")
    reply = system.read_bytes()
    assert reply.dtype == "uint8" and b"TQR-M" in reply.tobytes()
