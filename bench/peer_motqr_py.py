#!/usr/bin/python3
"""The driver's Python module (motqr) in the peer comparison.

The same loops and result lines as the other clients (bench/peer_client.h):

  PYTHONPATH=build/python peer_motqr_py.py PORT query N | ivmap POINTS [ROUNDS] | list VALUES [ROUNDS]

Status checking is off, as in the other clients; the instrument is prepared and
refilled over a plain socket outside the timed calls (peer_pyvisa.py's Control).
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import motqr  # noqa: E402
from peer_pyvisa import Control, load_voltage_map, map_value, quantile  # noqa: E402


def run_queries(ch, control, count):
    control.query(":VOLT 1.5;*OPC?")
    for _ in range(200):
        ch.voltage_level
    samples = []
    cpu = time.process_time()
    for i in range(count):
        start = time.perf_counter()
        volts = ch.voltage_level
        samples.append((time.perf_counter() - start) * 1e6)
        if volts != 1.5:
            raise RuntimeError(f"query {i} read {volts}")
    cpu = (time.process_time() - cpu) * 1e6 / count
    print(f"RESULT motqr-python query {count} {quantile(samples, 0.5):.2f} "
          f"{quantile(samples, 0.99):.2f} {cpu:.2f}")


def run_map_reads(ch, control, points, rounds):
    load_voltage_map(control, points)
    samples = []
    for round_ in range(-1, rounds):  # round -1 warms up
        start = time.perf_counter()
        values = ch.iv.get_voltage_iv_map(2 * points)
        elapsed = (time.perf_counter() - start) * 1e6
        if len(values) != 2 * points or abs(values[-2] - map_value(2 * points - 2)) > 1e-6:
            raise RuntimeError(f"map read {round_} failed ({len(values)} values)")
        if round_ >= 0:
            samples.append(elapsed)
    print(f"RESULT motqr-python ivmap {points * 8} {quantile(samples, 0.5):.1f} "
          f"{min(samples):.1f}")


def run_list_reads(tqr, control, wanted, rounds):
    control.query("*RST;:SIM:LOAD 10;:VOLT 5;:CURR 1;:OUTP 1;:DATA:INT:GATE MAN;"
                  ":DATA:INT:RES;:DATA:INT:STAR;*OPC?")
    samples = []
    for round_ in range(-1, rounds):  # round -1 warms up
        logged = int(control.query(f"SIM:TIME:ADV {wanted};:DATA:REM:POIN?"))
        if logged < wanted:
            raise RuntimeError(f"tqr-sim logged {logged} values (start it with --log-capacity)")
        start = time.perf_counter()
        values = tqr.data.remove_integral_data(wanted)
        elapsed = (time.perf_counter() - start) * 1e6
        if len(values) != wanted or not values[-1] > values[0]:
            raise RuntimeError(f"list read {round_} failed ({len(values)} values)")
        if round_ >= 0:
            samples.append(elapsed)
    print(f"RESULT motqr-python list {wanted} {quantile(samples, 0.5):.1f} {min(samples):.1f}")


def main(argv):
    if len(argv) not in (4, 5) or argv[2] not in ("query", "ivmap", "list"):
        print(__doc__, file=sys.stderr)
        return 2
    port, size = int(argv[1]), int(argv[3])
    rounds = int(argv[4]) if len(argv) == 5 else 20
    control = Control(port)
    with motqr.open(f"TCPIP::127.0.0.1::{port}::SOCKET", id_query=False,
                    options="QueryInstrStatus=false,Cache=false") as tqr:
        ch = tqr.outputs["OutputChannel1"]
        if argv[2] == "query":
            run_queries(ch, control, size)
        elif argv[2] == "ivmap":
            run_map_reads(ch, control, size, rounds)
        else:
            run_list_reads(tqr, control, size, rounds)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
