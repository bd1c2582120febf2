"""The panel's HTTP API against tqr-sim: every control and action, a refused value, the event
stream, two clients at once, a dropped instrument, and the access token. What the instrument
holds is read back over a separate raw SCPI connection to the simulator."""

import os
import subprocess
import threading
import time
import unittest

from panel_harness import EventStream, Panel, Scpi, start_sim, stop

MOTQR = os.environ["MOTQR"]
TQR_SIM = os.environ["TQR_SIM"]


class PanelApiTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sim, cls.port = start_sim(TQR_SIM, "--noise", "0", "--load-ohms", "10")
        cls.panel = Panel(MOTQR, cls.port)
        cls.scpi = Scpi(cls.port)

    @classmethod
    def tearDownClass(cls):
        cls.scpi.close()
        code, err = cls.panel.stop()
        stop(cls.sim)
        if code != 0:
            raise AssertionError("motqr panel ended with %s:\n%s" % (code, err))

    def setUp(self):
        self.scpi.send("*RST;*CLS")
        self.stream = EventStream(self.panel.base)

    def tearDown(self):
        self.stream.close()

    def test_page_and_state(self):
        status, headers, body = self.panel.request("")
        self.assertEqual(status, 200)
        self.assertIn(b'src="panel.js"', body)
        for path in ("panel.js", "panel.css"):
            status, headers, body = self.panel.request(path)
            self.assertEqual(status, 200, path)
            self.assertGreater(len(body), 1000, path)
        self.assertEqual(self.panel.request("nothing-here.js")[0], 404)
        status, state = self.panel.get("api/state")
        self.assertEqual(status, 200)
        self.assertEqual(state["identity"]["model"], self.scpi.query("*IDN?").split(",")[1])
        self.assertTrue(state["link"]["connected"])
        names = {c["name"] for c in state["panel"]["controls"]}
        self.assertEqual(names, {"voltage", "current", "output", "ovp", "ocp", "priority",
                                 "voltage-mode", "current-mode", "program", "loops"})

    def test_level_and_protection_controls_reach_the_instrument(self):
        cases = [("voltage", 12.5, ":VOLT?"), ("current", 1.25, ":CURR?"),
                 ("ovp", 50, ":VOLT:PROT?"), ("ocp", 7.5, ":CURR:PROT?"),
                 ("voltage", "3.3", ":VOLT?")]
        for control, value, query in cases:
            with self.subTest(control=control, value=value):
                status, reply = self.panel.set(control, value)
                self.assertEqual(status, 200, reply)
                self.assertTrue(reply["ok"])
                self.assertAlmostEqual(reply["value"], float(value))
                self.assertAlmostEqual(float(self.scpi.query(query)), float(value))
        for on, word in ((True, "1"), (False, "0")):
            status, reply = self.panel.set("output", on)
            self.assertEqual((status, reply["value"]), (200, on))
            self.assertIn(self.scpi.query(":OUTP?"), (word, "ON" if on else "OFF"))

    def test_choice_controls_reach_the_instrument(self):
        cases = [("priority", "CC", ":FUNC:MODE?", "CC"), ("priority", "cv", ":FUNC:MODE?", "CV"),
                 ("voltage-mode", "Sine", ":VOLT:FUNC:MODE?", "SINE"),
                 ("current-mode", "Pulse", ":CURR:FUNC:MODE?", "PULS"),
                 ("voltage-mode", "DC", ":VOLT:FUNC:MODE?", "DC")]
        for control, value, query, token in cases:
            with self.subTest(control=control, value=value):
                status, reply = self.panel.set(control, value)
                self.assertEqual(status, 200, reply)
                self.assertEqual(reply["value"].lower(), value.lower())
                self.assertEqual(self.scpi.query(query), token)

    def test_bad_requests_change_nothing(self):
        self.scpi.send(":VOLT 2")
        for body, want in ((b"5", 400), (b'{"value": [1]}', 400), (b'{"other": 1}', 400)):
            status, _, _ = self.panel.request("api/set/voltage", body)
            self.assertEqual(status, want, body)
        self.assertEqual(self.panel.set("voltage", "five")[0], 400)
        self.assertEqual(self.panel.set("no-such-control", 1)[0], 404)
        self.assertEqual(self.panel.act("no-such-action")[0], 404)
        self.assertEqual(self.panel.set("program", "never-made")[0], 400)
        # Another site's page cannot post (no JSON without a preflight, a foreign Origin).
        status, _, _ = self.panel.request("api/set/voltage", b'{"value": 9}',
                                          headers={"Content-Type": "text/plain"})
        self.assertEqual(status, 415)
        status, _, _ = self.panel.request("api/set/voltage", {"value": 9},
                                          headers={"Origin": "http://evil.example"})
        self.assertEqual(status, 403)
        # A name that only resolves here (DNS rebinding) is not this panel.
        status, _, _ = self.panel.request("api/state", headers={"Host": "evil.example:80"})
        self.assertEqual(status, 403)
        self.assertEqual(float(self.scpi.query(":VOLT?")), 2.0)
        self.assertEqual(self.scpi.query(":SYST:ERR?").split(",")[0], "0")

    def test_refused_value_reports_the_instrument_error_and_keeps_the_real_value(self):
        self.assertEqual(self.panel.set("voltage", 5)[0], 200)
        status, reply = self.panel.set("voltage", 1e6)
        self.assertEqual(status, 422)
        self.assertFalse(reply["ok"])
        self.assertIn("Instrument error detected", reply["message"])
        self.assertTrue(any(e.startswith("-222,") for e in reply["instrument_errors"]), reply)
        self.assertEqual(reply["value"], 5)
        self.assertEqual(float(self.scpi.query(":VOLT?")), 5.0)
        errors = self.panel.get("api/state")[1]["errors"]["entries"]
        self.assertTrue(errors[-1]["entry"].startswith("-222,"))
        self.assertEqual(errors[-1]["during"], "voltage")

    def test_error_queue_action_reads_what_others_left(self):
        self.scpi.sock.sendall(b":NO:SUCH:HEADER\n")
        self.scpi.query("*OPC?")
        status, reply = self.panel.act("errors")
        self.assertEqual(status, 200)
        # The poller's status check may have seen the error bit first and read the queue
        # itself: either way the entry is in the panel's log, and the queue is empty after.
        log = [e["entry"] for e in self.panel.get("api/state")[1]["errors"]["entries"]]
        self.assertTrue(any(e.startswith("-113,") for e in reply["entries"] + log), (reply, log))
        self.assertEqual(self.panel.act("errors")[1]["entries"], [])
        self.assertEqual(self.scpi.query(":SYST:ERR?").split(",")[0], "0")

    def test_readings_follow_the_load_cv_cc_and_an_ovp_trip(self):
        # 10 ohm load: 5 V wanted with a 1 A limit is 0.5 A (CV); a 0.2 A limit gives 2 V (CC).
        for control, value in (("voltage", 5), ("current", 1), ("output", True)):
            self.assertEqual(self.panel.set(control, value)[0], 200)
        cv = self.stream.wait_for("reading", lambda r: r["state"] == "CV")
        self.assertAlmostEqual(cv["volts"], 5.0, places=3)
        self.assertAlmostEqual(cv["amps"], 0.5, places=3)
        self.assertAlmostEqual(cv["watts"], 2.5, places=3)
        self.panel.set("current", 0.2)
        cc = self.stream.wait_for("reading", lambda r: r["state"] == "CC")
        self.assertAlmostEqual(cc["volts"], 2.0, places=3)
        # An OVP level below the output trips it: output off, OVP latched until cleared.
        self.panel.set("current", 1)
        self.panel.set("ovp", 4)
        tripped = self.stream.wait_for("reading", lambda r: "OVP" in r["alarms"])
        self.assertFalse(tripped["output"])
        self.assertEqual(tripped["state"], "OFF")
        status, reply = self.panel.set("output", True)
        self.assertEqual(status, 422)  # refused while the trip is latched
        self.assertFalse(reply["value"])
        self.panel.set("ovp", 10)
        self.assertEqual(self.panel.act("protection-clear")[0], 200)
        self.stream.wait_for("reading", lambda r: r["alarms"] == [])
        self.assertEqual(self.scpi.query(":STAT:QUES:COND?"), "0")

    def test_readings_come_at_the_rate_and_carry_the_time(self):
        time.sleep(1.5)
        readings = self.stream.of("reading")
        self.assertGreaterEqual(len(readings), 10)  # 10 a second by default
        numbers = [r["n"] for r in readings]
        self.assertEqual(numbers, sorted(numbers))
        self.assertLess(abs(readings[-1]["time"] / 1000 - time.time()), 5)

    def test_program_run_pause_stop_with_progress(self):
        self.scpi.send(':PROG:NAME "ramp";:PROG:STEP:COUN 3;:PROG:LOOP 2')
        for step in (1, 2, 3):
            self.scpi.send(":PROG:STEP%d:VOLT %d;:PROG:STEP%d:DWEL 0.4" % (step, step, step))
        self.scpi.send(':PROG:NAME "other"')
        status, reply = self.panel.set("program", "ramp")
        self.assertEqual((status, reply["value"]), (200, "ramp"))
        self.assertEqual(self.scpi.query(":PROG:NAME?"), '"ramp"')
        settings = self.panel.get("api/state")[1]["settings"]
        self.assertEqual((settings["steps"], settings["loops"]), (3, 2))
        self.assertEqual(sorted(settings["programs"]), ["other", "ramp"])
        self.assertEqual(self.panel.set("loops", 3)[1]["value"], 3)
        self.assertEqual(self.scpi.query(":PROG:LOOP?"), "3")
        self.assertEqual(self.panel.act("program-run")[0], 200)
        running = self.stream.wait_for("reading", lambda r: r["program"]["state"] == "running")
        self.assertEqual(running["program"]["name"], "ramp")
        self.stream.wait_for("reading", lambda r: r["program"]["step"] >= 2)
        self.assertEqual(self.panel.act("program-pause")[0], 200)
        self.stream.wait_for("reading", lambda r: r["program"]["state"] == "paused")
        self.assertEqual(self.panel.act("program-resume")[0], 200)
        self.stream.wait_for("reading", lambda r: r["program"]["state"] == "running")
        self.assertEqual(self.panel.act("program-stop")[0], 200)
        self.stream.wait_for("reading", lambda r: r["program"]["state"] == "idle")

    def test_two_clients_at_once(self):
        other = EventStream(self.panel.base)
        failures = []

        def hammer(control, values):
            for v in values:
                status, reply = self.panel.set(control, v)
                if status != 200 or reply["value"] != v:
                    failures.append((control, v, status, reply))

        threads = [threading.Thread(target=hammer, args=("voltage", [1 + k / 4 for k in range(20)])),
                   threading.Thread(target=hammer, args=("current", [0.5 + k / 8 for k in range(20)]))]
        for t in threads:
            t.start()
        for t in threads:
            t.join(60)
        self.assertEqual(failures, [])
        self.assertEqual(float(self.scpi.query(":VOLT?")), 1 + 19 / 4)
        self.assertEqual(float(self.scpi.query(":CURR?")), 0.5 + 19 / 8)
        # Both streams carry the same readings: one poller serves every client.
        time.sleep(0.5)
        mine = {r["n"] for r in self.stream.of("reading")}
        theirs = {r["n"] for r in other.of("reading")}
        other.close()
        self.assertGreater(len(mine & theirs), 3)
        self.assertEqual(self.scpi.query(":SYST:ERR?").split(",")[0], "0")


class InstrumentLinkTest(unittest.TestCase):
    def test_a_simulated_session_is_refused(self):
        result = subprocess.run([MOTQR, "--simulate", "panel", "--port", "0"],
                                capture_output=True, text=True, timeout=30)
        self.assertEqual(result.returncode, 2)
        self.assertIn("tqr-sim", result.stderr)

    def test_lost_instrument_is_reported_and_found_again(self):
        sim, port = start_sim(TQR_SIM, "--noise", "0")
        panel = Panel(MOTQR, port)
        stream = EventStream(panel.base)
        try:
            stream.wait_for("reading", lambda r: True)
            stop(sim)
            lost = stream.wait_for("link", lambda l: not l["connected"])
            self.assertTrue(lost["message"])
            status, reply = panel.set("voltage", 1)
            self.assertEqual(status, 503)
            self.assertIn("no instrument", reply["message"])
            sim, _ = start_sim(TQR_SIM, "--noise", "0", port=port)
            stream.wait_for("link", lambda l: l["connected"], timeout=15)
            stream.wait_for("reading", lambda r: True)
            self.assertEqual(panel.set("voltage", 1.5)[0], 200)
        finally:
            stream.close()
            code, err = panel.stop()
            stop(sim)
        self.assertEqual(code, 0, err)


class AccessTokenTest(unittest.TestCase):
    def test_every_request_needs_the_token(self):
        sim, port = start_sim(TQR_SIM, "--noise", "0")
        panel = Panel(MOTQR, port, "--token")
        try:
            token = panel.url.split("?token=")[1]
            self.assertRegex(token, r"^[0-9a-f]{32}$")
            for path in ("", "panel.js", "api/state", "api/events", "api/state?token=" + "0" * 32):
                self.assertEqual(panel.request(path)[0], 401, path)
            self.assertEqual(panel.request("api/set/voltage", {"value": 1})[0], 401)
            status, headers, _ = panel.request("?token=" + token)
            self.assertEqual(status, 200)
            cookie = headers["Set-Cookie"].split(";")[0]
            self.assertIn("HttpOnly", headers["Set-Cookie"])
            self.assertEqual(panel.request("panel.js", headers={"Cookie": cookie})[0], 200)
            self.assertEqual(panel.request("api/state", headers={"X-Motqr-Token": token})[0], 200)
            status, _, _ = panel.request("api/set/voltage", {"value": 1}, headers={"X-Motqr-Token": token})
            self.assertEqual(status, 200)
            # With the token, any Host name is fine: the panel may be reached by the machine's name.
            status, _, _ = panel.request("api/state", headers={"X-Motqr-Token": token, "Host": "bench-pc:1"})
            self.assertEqual(status, 200)
        finally:
            code, err = panel.stop()
            stop(sim)
        self.assertEqual(code, 0, err)


if __name__ == "__main__":
    unittest.main(verbosity=2)
