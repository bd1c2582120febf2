#!/usr/bin/python3
"""The driver's Python module against its C++ interface, in one run:

  1. a simulated property get from Python (voltage_level of a Simulate=true
     session): median over 41 batches of 5,000 gets, in ns per get;
  2. a 100,000-point voltage I-V map set + get from Python against tqr-sim
     (set_voltage_iv_map, get_voltage_iv_map), median over ROUNDS, then the same
     transfer through the C++ interface (build/bench/iv_map_bench) and the ratio.

    PYTHONPATH=build/python taskset -c 0 /usr/bin/python3 bench/python_bench.py [BUILD [ROUNDS]]
"""
import os
import pathlib
import re
import statistics
import subprocess
import sys
import time

import numpy

import motqr

POINTS = 100000


def simulated_get_ns():
    with motqr.open("TCPIP::192.0.2.1::5025::SOCKET", options="Simulate=true") as tqr:
        ch = tqr.outputs["OutputChannel1"]
        ch.voltage_level = 1.5
        batches = []
        for _ in range(41):
            start = time.perf_counter_ns()
            for _ in range(5000):
                ch.voltage_level
            batches.append((time.perf_counter_ns() - start) / 5000)
        return statistics.median(batches)


def map_values():
    i = numpy.arange(2 * POINTS)
    point = i // 2
    return numpy.where(i % 2 == 0, (point % 2001 - 1000) * 0.012345, (point % 1000) * 0.012345)


def python_map_ms(sim, rounds):
    process = subprocess.Popen([sim, "--port", "0", "--noise", "0", "--iv-max-points",
                                str(POINTS)], stdout=subprocess.PIPE, text=True)
    try:
        port = process.stdout.readline().split()[1]
        values = map_values()
        with motqr.open("TCPIP::127.0.0.1::%s::SOCKET" % port, id_query=False,
                        options="QueryInstrStatus=false") as tqr:
            iv = tqr.outputs["OutputChannel1"].iv
            samples = []
            for round_ in range(-1, rounds):  # round -1 warms up
                start = time.perf_counter()
                iv.set_voltage_iv_map(values)
                back = iv.get_voltage_iv_map(2 * POINTS)
                elapsed = (time.perf_counter() - start) * 1e3
                if not numpy.allclose(back, values, atol=1e-6):
                    raise RuntimeError("the map came back changed")
                if round_ >= 0:
                    samples.append(elapsed)
            return statistics.median(samples)
    finally:
        process.terminate()
        process.wait(5)


def main(argv):
    build = pathlib.Path(argv[1] if len(argv) > 1 else
                         pathlib.Path(__file__).resolve().parents[1] / "build")
    rounds = int(argv[2]) if len(argv) > 2 else 30
    print("simulated property get from Python   median %7.0f ns" % simulated_get_ns())
    py = python_map_ms(str(build / "sim" / "tqr-sim"), rounds)
    out = subprocess.run([str(build / "bench" / "iv_map_bench"), str(POINTS), str(rounds)],
                         capture_output=True, text=True, check=True).stdout
    cpp = float(re.search(r"driver \(C\+\+ interface\)\s+median\s+([\d.]+) ms", out).group(1))
    print("%d-point I-V map set + get, %d rounds" % (POINTS, rounds))
    print("  Python (motqr)          median %8.2f ms" % py)
    print("  C++ interface           median %8.2f ms" % cpp)
    print("  Python / C++            %.3f  (target <= 1.1)" % (py / cpp))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
