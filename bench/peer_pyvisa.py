#!/usr/bin/python3
"""PyVISA with the pyvisa-py backend in the peer comparison.

The same loops and result lines as the C clients (bench/peer_client.h):

  peer_pyvisa.py [--wire vxi11] PORT query N | ivmap POINTS [ROUNDS] | list VALUES [ROUNDS]

With --wire vxi11 the instrument is reached over VXI-11 (portmapper on port 111) and the
result lines name the client "pyvisa-py/vxi11".

The instrument is prepared and refilled over a plain socket, outside the timed calls.
"""
import socket
import sys
import time

TIMEOUT_S = 30.0


class Control:
    """A plain SCPI connection to tqr-sim for set-up and refills."""

    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=TIMEOUT_S)
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.pending = b""

    def query(self, command):
        self.sock.sendall(command.encode() + b"\n")
        while b"\n" not in self.pending:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise RuntimeError("tqr-sim closed the control connection")
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode()


def quantile(samples, q):
    ordered = sorted(samples)
    return ordered[int(q * (len(ordered) - 1) + 0.5)]


def map_value(index):
    point = index // 2
    if index % 2 == 0:
        return (point % 2001 - 1000) * 0.012345
    return (point % 1000) * 0.012345


NAME = "pyvisa-py"


# The three timed loops, shared by the Python clients: each is given the client's
# name and a function that makes one read through that client.

def run_queries(name, read_volts, control, count):
    control.query(":VOLT 1.5;*OPC?")
    for _ in range(200):
        read_volts()
    samples = []
    cpu = time.process_time()
    for i in range(count):
        start = time.perf_counter()
        volts = read_volts()
        samples.append((time.perf_counter() - start) * 1e6)
        if volts != 1.5:
            raise RuntimeError(f"query {i} read {volts}")
    cpu = (time.process_time() - cpu) * 1e6 / count
    print(f"RESULT {name} query {count} {quantile(samples, 0.5):.2f} "
          f"{quantile(samples, 0.99):.2f} {cpu:.2f}")


def load_voltage_map(control, points):
    words = bytearray()
    for i in range(2 * points):
        words += (round(map_value(i) * 1e6) & 0xFFFFFFFF).to_bytes(4, "little")
    length = str(len(words))
    control.sock.sendall(f":VOLT:IV:DATA #{len(length)}{length}".encode() + bytes(words) + b"\n")
    if int(control.query(":VOLT:IV:COUN?")) != points:
        raise RuntimeError("tqr-sim did not take the map (start it with --iv-max-points)")


def timed_rounds(what, rounds, read, valid, prepare=lambda: None):
    """The times of read() in microseconds, once a round after prepare(); round -1 warms up."""
    samples = []
    for round_ in range(-1, rounds):
        prepare()
        start = time.perf_counter()
        values = read()
        elapsed = (time.perf_counter() - start) * 1e6
        if not valid(values):
            raise RuntimeError(f"{what} read {round_} failed ({len(values)} values)")
        if round_ >= 0:
            samples.append(elapsed)
    return samples


def run_map_reads(name, read_map, control, points, rounds, volts_per_unit=1.0):
    load_voltage_map(control, points)
    samples = timed_rounds(
        "map", rounds, read_map,
        lambda v: len(v) == 2 * points and
        abs(v[-2] * volts_per_unit - map_value(2 * points - 2)) <= 1e-6)
    print(f"RESULT {name} ivmap {points * 8} {quantile(samples, 0.5):.1f} {min(samples):.1f}")


def run_list_reads(name, read_list, control, wanted, rounds):
    control.query("*RST;:SIM:LOAD 10;:VOLT 5;:CURR 1;:OUTP 1;:DATA:INT:GATE MAN;"
                  ":DATA:INT:RES;:DATA:INT:STAR;*OPC?")

    def refill():
        logged = int(control.query(f"SIM:TIME:ADV {wanted};:DATA:REM:POIN?"))
        if logged < wanted:
            raise RuntimeError(f"tqr-sim logged {logged} values (start it with --log-capacity)")

    samples = timed_rounds("list", rounds, read_list,
                           lambda v: len(v) == wanted and v[-1] > v[0], refill)
    print(f"RESULT {name} list {wanted} {quantile(samples, 0.5):.1f} {min(samples):.1f}")


def main(argv):
    global NAME
    resource = None
    if len(argv) > 2 and argv[1] == "--wire" and argv[2] == "vxi11":
        resource = "TCPIP::127.0.0.1::inst0::INSTR"
        NAME = "pyvisa-py/vxi11"
        argv = argv[:1] + argv[3:]
    if len(argv) not in (4, 5) or argv[2] not in ("query", "ivmap", "list"):
        print(__doc__, file=sys.stderr)
        return 2
    port, size = int(argv[1]), int(argv[3])
    rounds = int(argv[4]) if len(argv) == 5 else 20
    control = Control(port)
    import pyvisa  # here, so that other clients can share the helpers above

    rm = pyvisa.ResourceManager("@py")
    inst = rm.open_resource(resource or f"TCPIP::127.0.0.1::{port}::SOCKET", read_termination="\n",
                            write_termination="\n", timeout=int(TIMEOUT_S * 1000))
    try:
        if argv[2] == "query":
            run_queries(NAME, lambda: float(inst.query(":VOLT?")), control, size)
        elif argv[2] == "ivmap":
            run_map_reads(NAME, lambda: inst.query_binary_values(
                ":VOLT:IV:DATA?", datatype="i", is_big_endian=False), control, size, rounds,
                volts_per_unit=1e-6)
        else:
            run_list_reads(NAME, lambda: inst.query_ascii_values(f":DATA:REM? {size}"), control,
                           size, rounds)
    finally:
        inst.close()
        rm.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
