#!/usr/bin/python3
"""Sweeps the output voltage, measures voltage and current at each step, and writes
the points to a CSV file and a PNG plot.

    PYTHONPATH=build/python python/examples/voltage_sweep.py [--resource R] [--out DIR]

Without --resource it starts build/sim/tqr-sim (a 10 ohm load) and sweeps that.
"""
import argparse
import csv
import pathlib

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy  # noqa: E402

import motqr  # noqa: E402
from simulator import resource_or_simulator  # noqa: E402


def sweep(resource, start, stop, steps):
    with motqr.open(resource, reset=True) as tqr:
        ch = tqr.outputs["OutputChannel1"]
        ch.current_level = 2.0
        ch.enabled = True
        rows = []
        for volts in numpy.linspace(start, stop, steps):
            ch.voltage_level = volts
            v = ch.measure(motqr.MeasurementType.VOLTAGE)
            i = ch.measure(motqr.MeasurementType.CURRENT)
            rows.append((volts, v, i))
        ch.enabled = False
        return numpy.array(rows)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--resource")
    ap.add_argument("--out", default=".")
    ap.add_argument("--start", type=float, default=-10.0)
    ap.add_argument("--stop", type=float, default=10.0)
    ap.add_argument("--steps", type=int, default=41)
    args = ap.parse_args()
    out = pathlib.Path(args.out)
    with resource_or_simulator(args.resource) as resource:
        points = sweep(resource, args.start, args.stop, args.steps)

    with open(out / "sweep.csv", "w", newline="") as f:
        writer = csv.writer(f)
        writer.writerow(["set_v", "measured_v", "measured_a"])
        writer.writerows(points.tolist())
    fig, ax = plt.subplots(figsize=(6, 4))
    ax.plot(points[:, 1], points[:, 2], "o-", markersize=3)
    ax.set_xlabel("measured voltage / V")
    ax.set_ylabel("measured current / A")
    ax.set_title("Voltage sweep")
    ax.grid(True)
    fig.tight_layout()
    fig.savefig(out / "sweep.png", dpi=100)
    print("wrote %s and %s (%d points)" % (out / "sweep.csv", out / "sweep.png", len(points)))


if __name__ == "__main__":
    main()
