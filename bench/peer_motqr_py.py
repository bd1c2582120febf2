#!/usr/bin/python3
"""The driver's Python module (motqr) in the peer comparison.

The same loops and result lines as the other clients (bench/peer_client.h):

  PYTHONPATH=build/python peer_motqr_py.py PORT query N | ivmap POINTS [ROUNDS] | list VALUES [ROUNDS]

Status checking is off, as in the other clients; the instrument is prepared and
refilled over a plain socket outside the timed calls (peer_pyvisa.py's Control).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import motqr  # noqa: E402
from peer_pyvisa import (Control, run_list_reads, run_map_reads,  # noqa: E402
                         run_queries)


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
        name = "motqr-python"
        if argv[2] == "query":
            run_queries(name, lambda: ch.voltage_level, control, size)
        elif argv[2] == "ivmap":
            run_map_reads(name, lambda: ch.iv.get_voltage_iv_map(2 * size), control, size, rounds)
        else:
            run_list_reads(name, lambda: tqr.data.remove_integral_data(size), control, size,
                           rounds)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
