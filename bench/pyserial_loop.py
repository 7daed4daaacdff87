#!/usr/bin/python3
"""The peer of bench_wire's raw queries: a plain pyserial loop.

Sends COUNT times ":AGN?" to DEVICE and reads each reply line up to its CR,
then prints the wall time and the CPU time per transaction in microseconds:
"WALL_US CPU_US".
    pyserial_loop.py DEVICE COUNT
"""
import resource
import sys
import time

import serial


def cpu():
    usage = resource.getrusage(resource.RUSAGE_SELF)
    return usage.ru_utime + usage.ru_stime


def main():
    device, count = sys.argv[1], int(sys.argv[2])
    port = serial.Serial(device, 115200, timeout=2)
    for _ in range(count // 10):  # warm up, as the link does
        port.write(b":AGN?\r")
        port.read_until(b"\r")
    cpu0, wall0 = cpu(), time.perf_counter()
    for _ in range(count):
        port.write(b":AGN?\r")
        if not port.read_until(b"\r").endswith(b"\r"):
            sys.exit("no reply")
    wall, used = time.perf_counter() - wall0, cpu() - cpu0
    print("%.1f %.1f" % (wall * 1e6 / count, used * 1e6 / count))


if __name__ == "__main__":
    main()
