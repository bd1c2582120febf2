"""Fixtures: tqr-sim on a free loopback port, and driver sessions to it."""
import os
import pathlib
import select
import subprocess
import time

import pytest

import motqr

ROOT = pathlib.Path(os.environ.get("MOTQR_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
SIM = os.environ.get("MOTQR_TQR_SIM", str(ROOT / "build" / "sim" / "tqr-sim"))


class Sim:
    """One tqr-sim process; .resource is its socket resource name."""

    def __init__(self, *options):
        self.process = subprocess.Popen([SIM, "--port", "0", *options], stdout=subprocess.PIPE,
                                        stdin=subprocess.DEVNULL, text=True)
        deadline = time.monotonic() + 10
        line = ""
        while time.monotonic() < deadline and not line:
            if select.select([self.process.stdout], [], [], 0.5)[0]:
                line = self.process.stdout.readline()
        if not line.startswith("port "):
            self.stop()
            raise RuntimeError("tqr-sim did not start: %r" % line)
        self.port = int(line.split()[1])
        self.resource = "TCPIP::127.0.0.1::%d::SOCKET" % self.port

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


@pytest.fixture(scope="session")
def sim():
    s = Sim()
    yield s
    s.stop()


@pytest.fixture
def tqr(sim):
    """A session to tqr-sim (instrument errors checked), reset, closed afterwards."""
    with motqr.open(sim.resource, reset=True, options="QueryInstrStatus=true") as driver:
        yield driver


@pytest.fixture
def simulated():
    with motqr.open("TCPIP::192.0.2.1::5025::SOCKET", options="Simulate=true") as driver:
        yield driver
