#!/usr/bin/env python3
"""iccd-tango driven with PyTango, as a facility's scripts drive it.

Starts iccdsim and iccd-tango without a database, then checks the state,
an attribute's configuration, a write read back, a refused write, and the
change events of a settings-file load.  Usage: tango_client_test.py BUILD_DIR
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

try:
    import tango
except ImportError:
    print("PyTango (python3-tango) is not installed")
    sys.exit(77)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(device, state, seconds=8.0):
    end = time.time() + seconds
    while time.time() < end and device.state() != state:
        time.sleep(0.1)
    return device.state()


def main():
    build = sys.argv[1]
    failures = []

    def check(what, got, wanted):
        if got != wanted:
            failures.append(f"{what}: got {got!r}, wanted {wanted!r}")

    sim = subprocess.Popen([os.path.join(build, "iccdsim"), "--model", "VK-470", "--tcp", "127.0.0.1:0"],
                           stdout=subprocess.PIPE, text=True)
    camera = sim.stdout.readline().strip()
    port = free_port()
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=0")
    server = subprocess.Popen([os.path.join(build, "iccd-tango"), "py", "--device", camera, "-nodb", "-dlist",
                               "lab/iccd/py", "-ORBendPoint", f"giop:tcp:127.0.0.1:{port}"],
                              stdout=subprocess.PIPE, text=True, env=env)
    try:
        while "Ready to accept request" not in server.stdout.readline():
            pass
        device = tango.DeviceProxy(f"tango://127.0.0.1:{port}/lab/iccd/py#dbase=no")
        check("state", wait_for(device, tango.DevState.ON), tango.DevState.ON)

        config = device.get_attribute_config("ALV")
        check("ALV label", config.label, "ALC Level")
        # The VK-470's class sets its ALC level no lower than 20.
        check("ALV range", (config.min_value, config.max_value), ("20", "255"))

        device.write_attribute("ALV", 77)
        check("ALV read back", device.read_attribute("ALV").value, 77)
        try:
            device.write_attribute("ALV", 256)
            failures.append("ALV 256 was taken")
        except tango.DevFailed as e:
            check("ALV 256 refusal", e.args[0].reason, "API_WAttrOutsideLimit")

        # A load pushes RUNNING, then ON, and the gain it changed back.
        seen = []
        device.subscribe_event("State", tango.EventType.CHANGE_EVENT,
                               lambda ev: seen.append(None if ev.err else ev.attr_value.value))
        gains = []
        device.subscribe_event("AGN", tango.EventType.CHANGE_EVENT,
                               lambda ev: gains.append(None if ev.err else round(ev.attr_value.value, 4)))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "camera.cfg")
            device.SaveSettingsFile(path)
            device.write_attribute("AGN", 20.0)  # 568 counts: 19.9936 dB
            check("load summary", device.LoadSettingsFile(path), "read failures: 0\nsend failures: 0")
        time.sleep(0.5)
        check("state events", seen, [tango.DevState.ON, tango.DevState.RUNNING, tango.DevState.ON])
        # The first event is the subscription's: the power-on 57 counts, 2.0064 dB.
        # A client may be told a value twice while its subscription settles.
        told = [g for i, g in enumerate(gains) if i == 0 or g != gains[i - 1]]
        check("gain events", told, [2.0064, 19.9936, 2.0064])
    finally:
        server.terminate()
        sim.terminate()
        server.wait(10)
        sim.wait(10)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
