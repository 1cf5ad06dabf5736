#!/usr/bin/env python3
"""Checks gate_sim's pseudo-terminal mode as a program would use it.

    pty_check.py GATE_SIM GATE_ELF WORKDIR

Starts the simulated gate on a pseudo-terminal (a link to it in WORKDIR),
opens it as a serial port and checks: the hello comes first after opening,
heartbeats come in real time, a crossing asked for on stdin comes back as
a P line stamped at the edge, a reset says hello again with the clock back
near zero, and quit ends the simulator and removes the link.
"""
import os
import re
import select
import subprocess
import sys
import termios
import time
import tty

LINE = re.compile(rb"^(TRELVIX-GATE 1( [!-~]([ -~]*[!-~])?)?|P ([1-9]|1[0-2]) (0|[1-9][0-9]{0,19})|H (0|[1-9][0-9]{0,19}))\n$")
WAIT = 5.0  # seconds, for anything that should take far less

passed = failed = 0


def check(ok, what):
    global passed, failed
    print(("ok" if ok else "FAIL") + " - " + what, flush=True)
    if ok:
        passed += 1
    else:
        failed += 1
    return ok


class Lines:
    """Reads whole lines from a descriptor, each with the time it arrived."""

    def __init__(self, fd):
        self.fd = fd
        self.buf = b""

    def next(self, timeout=WAIT):
        deadline = time.monotonic() + timeout
        while b"\n" not in self.buf:
            left = deadline - time.monotonic()
            if left <= 0:
                return None, None
            r, _, _ = select.select([self.fd], [], [], left)
            if r:
                chunk = os.read(self.fd, 4096)
                if not chunk:
                    return None, None
                self.buf += chunk
        line, self.buf = self.buf.split(b"\n", 1)
        return line + b"\n", time.monotonic()

    def until(self, pred, timeout=WAIT):
        """Lines up to the first one pred accepts: (all lines, that one, its time)."""
        seen = []
        deadline = time.monotonic() + timeout
        while True:
            line, at = self.next(max(0.0, deadline - time.monotonic()))
            if line is None:
                return seen, None, None
            seen.append(line)
            if pred(line):
                return seen, line, at


def open_tty(path):
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)
    termios.tcflush(fd, termios.TCIFLUSH)
    return fd


def micros(line):
    return int(line.split()[-1])


def main():
    sim, elf, work = sys.argv[1:4]
    link = os.path.join(work, "gate.tty")
    proc = subprocess.Popen([sim, "pty", "--link", link, "--reset-on-open", elf],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    out = Lines(proc.stdout.fileno())
    try:
        first, _ = out.next()
        if not check(first is not None and first.startswith(b"PTY /dev/"), "the simulator names its terminal (%r)" % first):
            return
        path = first.split()[1].decode()
        check(os.path.realpath(link) == path, "the link points at it")

        fd = open_tty(link)
        gate = Lines(fd)
        hello, _ = gate.next()
        check(hello is not None and hello.startswith(b"TRELVIX-GATE 1 "), "opened, the gate says hello first (%r)" % hello)

        beats = []
        while len(beats) < 5:
            line, at = gate.next()
            if line is None:
                break
            if line.startswith(b"H "):
                beats.append((micros(line), at))
        ok = len(beats) == 5
        if ok:
            gate_s = (beats[-1][0] - beats[0][0]) / 1e6
            wall_s = beats[-1][1] - beats[0][1]
        check(ok and abs(gate_s - 1.0) < 0.001, "four heartbeat periods take 1 s of gate time (%s)" % (ok and gate_s))
        # never ahead of the wall clock (a simulator left to run free is many
        # times faster; a line read late on a busy machine shortens the wall
        # time by what it waited); behind it only by the machine's load
        check(ok and gate_s <= wall_s + 0.15 and gate_s >= 0.8 * wall_s,
              "the gate runs in real time: %s s of gate time in %s s" % (ok and gate_s, ok and round(wall_s, 3)))

        proc.stdin.write(b"3\n")
        proc.stdin.flush()
        _, press, _ = out.until(lambda l: l.startswith(b"PRESS "))
        seen, p3, _ = gate.until(lambda l: l.startswith(b"P "))
        ok = press is not None and press.startswith(b"PRESS 3 ") and p3 is not None and p3.startswith(b"P 3 ")
        late = micros(p3) - micros(press) if ok else None
        check(ok and 0 <= late <= 20, "a crossing asked for comes back stamped 0..20 us after its edge (%r, %r)" % (press, p3))

        proc.stdin.write(b"reset\n")
        proc.stdin.flush()
        _, told, _ = out.until(lambda l: l == b"RESET\n")
        seen2, again, _ = gate.until(lambda l: l.startswith(b"TRELVIX-GATE"))
        _, beat, _ = gate.until(lambda l: l.startswith(b"H "))
        check(told == b"RESET\n" and again is not None and beat is not None and micros(beat) < 1000000,
              "after a reset the gate says hello again and its clock starts over (%r)" % beat)

        os.close(fd)
        fd = open_tty(link)
        gate = Lines(fd)
        hello, _ = gate.next()
        check(hello is not None and hello.startswith(b"TRELVIX-GATE 1 "), "opened again, the gate says hello first (%r)" % hello)
        more = [gate.next()[0] for _ in range(2)]
        every = seen + seen2 + [l for l, _ in [(hello, 0)] + [(m, 0) for m in more]]
        check(all(l is not None and LINE.match(l) for l in every), "every line read is a protocol line")
        os.close(fd)

        proc.stdin.write(b"quit\n")
        proc.stdin.flush()
        try:
            code = proc.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            code = None
        check(code == 0, "quit ends the simulator (exit %s)" % code)
        check(not os.path.lexists(link), "the link is gone")
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()


if __name__ == "__main__":
    main()
    print("pty: %d passed, %d failed" % (passed, failed))
    sys.exit(1 if failed else 0)
