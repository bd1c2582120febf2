"""Starts tqr-sim and `motqr panel` for the panel's tests and benchmarks, and talks to both:
the panel over HTTP (urllib only), the simulator over a raw SCPI socket."""

import json
import os
import re
import signal
import socket
import subprocess
import threading
import time
import urllib.error
import urllib.request


def start_sim(tqr_sim, *options, port=0):
    proc = subprocess.Popen([tqr_sim, "--port", str(port), *options],
                            stdout=subprocess.PIPE, text=True)
    line = proc.stdout.readline()
    match = re.match(r"port (\d+)", line)
    if not match:
        proc.kill()
        raise RuntimeError("tqr-sim did not start: %r" % line)
    return proc, int(match.group(1))


def stop(proc):
    if proc and proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    for pipe in (proc.stdout, proc.stderr):
        if pipe:
            pipe.close()


class Panel:
    """One `motqr panel` process on a free loopback port."""

    def __init__(self, motqr, sim_port, *options):
        resource = "TCPIP::127.0.0.1::%d::SOCKET" % sim_port
        self.proc = subprocess.Popen(
            [motqr, "--resource", resource, "panel", "--port", "0", *options],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline()
        match = re.match(r"motqr panel: (http://\S+)", line)
        if not match:
            err = self.proc.stderr.read() if self.proc.poll() is not None else ""
            self.proc.kill()
            raise RuntimeError("motqr panel did not start: %r %s" % (line, err))
        self.url = match.group(1)
        self.base = re.sub(r"\?.*$", "", self.url)

    def stop(self):
        """Stops the panel with SIGTERM; its exit status (0 unless something went wrong,
        a sanitizer's finding at exit included) and what it wrote on standard error."""
        err = ""
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                err = self.proc.communicate(timeout=30)[1]
            except subprocess.TimeoutExpired:
                self.proc.kill()
                err = self.proc.communicate()[1] + "\n(did not stop within 30 s)"
        stop(self.proc)
        return self.proc.returncode, err

    def request(self, path, body=None, headers=None, method=None):
        """(status, headers, body bytes) of one request; never raises on HTTP errors."""
        data = None if body is None else (body if isinstance(body, bytes) else json.dumps(body).encode())
        hdrs = {"Content-Type": "application/json"} if body is not None else {}
        hdrs.update(headers or {})
        req = urllib.request.Request(self.base + path.lstrip("/"), data=data, headers=hdrs,
                                     method=method or ("POST" if body is not None else "GET"))
        try:
            with urllib.request.urlopen(req, timeout=10) as res:
                return res.status, res.headers, res.read()
        except urllib.error.HTTPError as e:
            return e.code, e.headers, e.read()

    def get(self, path, **kw):
        status, _, body = self.request(path, **kw)
        return status, json.loads(body)

    def set(self, control, value, **kw):
        status, _, body = self.request("api/set/" + control, {"value": value}, **kw)
        return status, json.loads(body)

    def act(self, action):
        status, _, body = self.request("api/action/" + action, {})
        return status, json.loads(body)


class EventStream:
    """Reads /api/events on a thread and keeps every event (kind, data, arrival time)."""

    def __init__(self, base, headers=None):
        req = urllib.request.Request(base + "api/events", headers=headers or {})
        self.response = urllib.request.urlopen(req, timeout=10)
        self.events = []
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        kind = None
        try:
            for raw in self.response:
                line = raw.decode().rstrip("\n")
                if line.startswith("event: "):
                    kind = line[7:]
                elif line.startswith("data: ") and kind:
                    with self.lock:
                        self.events.append((kind, json.loads(line[6:]), time.time()))
        except (OSError, ValueError, AttributeError):
            pass  # closed

    def of(self, kind):
        with self.lock:
            return [data for k, data, _ in self.events if k == kind]

    def wait_for(self, kind, predicate, timeout=10):
        """The first event of `kind` from now on that satisfies `predicate`."""
        with self.lock:
            seen = len(self.events)
        end = time.time() + timeout
        while time.time() < end:
            with self.lock:
                fresh = self.events[seen:]
                seen = len(self.events)
            for k, data, _ in fresh:
                if k == kind and predicate(data):
                    return data
            time.sleep(0.02)
        raise AssertionError("no %s event as wanted within %s s (last: %r)"
                             % (kind, timeout, (self.of(kind) or [None])[-1]))

    def close(self):
        try:
            self.response.close()
        except OSError:
            pass


class Scpi:
    """A raw SCPI connection to tqr-sim: the independent view of the instrument."""

    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=5)
        self.file = self.sock.makefile("rb")

    def query(self, text):
        self.sock.sendall(text.encode() + b"\n")
        return self.file.readline().decode().strip()

    def send(self, text):
        self.sock.sendall(text.encode() + b"\n")
        self.query("*OPC?")

    def close(self):
        self.sock.close()
