#!/usr/bin/python3
"""Builds a step program from a CSV file (tools/samples/charge.csv has the layout),
stores it on the instrument, runs it and shows a progress bar until it ends.

    PYTHONPATH=build/python python/examples/charge_program.py [CSV] [--resource R]

Without --resource it starts build/sim/tqr-sim and runs the program there.
"""
import argparse
import pathlib
import sys
import time

import motqr
from simulator import resource_or_simulator

SAMPLE = pathlib.Path(__file__).resolve().parents[2] / "tools" / "samples" / "charge.csv"


def read_program(path):
    """(name, loops, [step dicts]) from the CSV: 'key = value' lines, a header, step rows."""
    settings, header, steps = {}, None, []
    for line in pathlib.Path(path).read_text().splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if header is None and "=" in line:
            key, value = (x.strip() for x in line.split("=", 1))
            settings[key] = value
        elif header is None:
            header = [c.strip() for c in line.split(",")]
        else:
            steps.append(dict(zip(header, (c.strip() for c in line.split(",")))))
    return settings.get("name", pathlib.Path(path).stem), int(settings.get("loops", 1)), steps


def store(program, name, loops, steps):
    if name in program.get_program_list():
        program.configure_selected_program(name)
        program.delete_selected_program()
    program.configure_selected_program(name)
    program.program_step_count = len(steps)
    positive = motqr.PositiveNegative.POSITIVE
    for number, step in enumerate(steps, start=1):
        if step.get("voltage"):
            program.configure_program_step_voltage(number, float(step["voltage"]))
        if step.get("current"):
            program.configure_program_step_current(number, positive, float(step["current"]))
        if step.get("dwell"):
            program.configure_program_step_dwell(number, float(step["dwell"]))
        if step.get("output"):
            program.configure_program_step_output_enabled(number, step["output"] == "on")
    program.program_loop_count = loops
    program.save_program()


def progress(done, total, text, width=40):
    filled = int(width * done / total) if total else width
    sys.stdout.write("\r[%s%s] %3d%% %s" % ("#" * filled, "." * (width - filled),
                                            100 * done // max(total, 1), text))
    sys.stdout.flush()


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("csv", nargs="?", default=SAMPLE)
    ap.add_argument("--resource")
    ap.add_argument("--timeout", type=float, default=60.0)
    args = ap.parse_args()
    name, loops, steps = read_program(args.csv)
    with resource_or_simulator(args.resource) as resource, motqr.open(resource) as tqr:
        store(tqr.program, name, loops, steps)
        tqr.trigger.initiate(motqr.TriggerSystem.PROGRAM)
        total = loops * len(steps)
        deadline = time.monotonic() + args.timeout
        started = False
        while time.monotonic() < deadline:
            state, program, step, loop = tqr.trigger.query_transient_info()
            running = state != motqr.TransientState.IDLE
            started = started or running
            if started and not running:
                break
            done = max(loop - 1, 0) * len(steps) + max(step - 1, 0)
            progress(done, total, "%s loop %d step %d %s" % (program, loop, step, state.name))
            time.sleep(0.05)
        progress(total, total, "%s finished" % name + " " * 20)
        print()


if __name__ == "__main__":
    main()
