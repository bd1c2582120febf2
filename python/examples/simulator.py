"""Starts tqr-sim on a free loopback port for the examples (when no resource is given)."""
import contextlib
import pathlib
import subprocess

DEFAULT_SIM = pathlib.Path(__file__).resolve().parents[2] / "build" / "sim" / "tqr-sim"


@contextlib.contextmanager
def resource_or_simulator(resource, sim=DEFAULT_SIM):
    """Yields `resource`, or the resource of a tqr-sim started for the block."""
    if resource:
        yield resource
        return
    process = subprocess.Popen([str(sim), "--port", "0"], stdout=subprocess.PIPE, text=True)
    try:
        line = process.stdout.readline()  # "port N" once it listens
        if not line.startswith("port "):
            raise RuntimeError("tqr-sim did not start: %r" % line)
        yield "TCPIP::127.0.0.1::%s::SOCKET" % line.split()[1]
    finally:
        process.terminate()
        process.wait(5)
