#!/usr/bin/env python3
"""A stand-in track gate on a pseudo-terminal or on TCP, driven line by line
from stdin.

Usage: fake_gate.py LINK   (LINK becomes a symlink to the terminal's slave side)
       fake_gate.py tcp    (a server on 127.0.0.1; "ok ready PORT" names its port)

Commands, one per line; each answers "ok ..." on stdout once done:
  hello                 the gate says hello
  h                     a heartbeat
  p CAR                 car CAR crosses now; answers "ok NS" with the
                        CLOCK_MONOTONIC nanoseconds of the crossing
  raw TEXT              TEXT and a LF, as it stands (bad lines)
  flood CAR N           N passes of CAR as fast as the line takes them
  pull                  the cable is pulled: the terminal and the link vanish
  plug                  a new terminal under the same link, and a hello
  burst N               N bytes of notes (bad lines) in one go
  hangup                TCP: the gate closes the connection; its clock goes
                        on, and it says hello to the next one
  connections           TCP: answers "ok N", the connections accepted so far
  reset                 the gate restarts: its clock begins again from zero
  beat on|off           heartbeats four times a second, or none
  quit
The gate's clock runs DRIFT_PPM (environment, default 0) fast or slow.
"""
import os
import pty
import select
import socket
import sys
import threading
import time

LINK = sys.argv[1]
TCP = LINK == "tcp"
DRIFT = float(os.environ.get("DRIFT_PPM", "0")) * 1e-6
lock = threading.Lock()
state = {"master": None, "slave": None, "origin": time.monotonic_ns(), "beat": True, "conn": None,
         "connections": 0}


def gate_micros(ns=None):
    ns = time.monotonic_ns() if ns is None else ns
    return int((ns - state["origin"]) * (1 + DRIFT) / 1000)


def plug():
    master, slave = pty.openpty()
    # Raw: nothing the terminal layer would add or take away.
    import tty
    tty.setraw(slave)
    state["master"], state["slave"] = master, slave
    tmp = LINK + ".new"
    if os.path.lexists(tmp):
        os.unlink(tmp)
    os.symlink(os.ttyname(slave), tmp)
    os.replace(tmp, LINK)


def pull():
    if TCP:
        if state["conn"] is not None:
            state["conn"].close()
            state["conn"] = None
        return
    if os.path.lexists(LINK):
        os.unlink(LINK)
    for key in ("master", "slave"):
        if state[key] is not None:
            os.close(state[key])
            state[key] = None


def accept(server):
    while True:
        conn, _ = server.accept()
        with lock:
            if state["conn"] is not None:
                state["conn"].close()
            state["conn"] = conn
            state["connections"] += 1
            send("TRELVIX-GATE 1 fake gate\n")


def send(text):
    if TCP:
        if state["conn"] is not None:
            try:
                state["conn"].sendall(text.encode("ascii", "replace"))
            except OSError:
                state["conn"] = None
        return
    if state["master"] is None:
        return
    data = text.encode("ascii", "replace")
    while data:
        try:
            n = os.write(state["master"], data)
        except BlockingIOError:
            select.select([], [state["master"]], [], 1.0)
            continue
        except OSError:
            return
        data = data[n:]


def drain():
    # Nothing is read back from the program, but the terminal must not fill up.
    while True:
        time.sleep(0.05)
        with lock:
            m = state["master"]
            if m is not None:
                r, _, _ = select.select([m], [], [], 0)
                if r:
                    try:
                        os.read(m, 4096)
                    except OSError:
                        pass


def beats():
    while True:
        time.sleep(0.25)
        with lock:
            if state["beat"]:
                send("H %d\n" % gate_micros())


def main():
    if TCP:
        server = socket.create_server(("127.0.0.1", 0))
        threading.Thread(target=accept, args=(server,), daemon=True).start()
        ready = "ok ready %d" % server.getsockname()[1]
    else:
        plug()
        threading.Thread(target=drain, daemon=True).start()
        ready = "ok ready"
    threading.Thread(target=beats, daemon=True).start()
    print(ready, flush=True)
    for line in sys.stdin:
        words = line.split()
        if not words:
            continue
        cmd = words[0]
        with lock:
            if cmd == "hello":
                send("TRELVIX-GATE 1 fake gate\n")
            elif cmd == "h":
                send("H %d\n" % gate_micros())
            elif cmd == "p":
                now = time.monotonic_ns()
                send("P %s %d\n" % (words[1], gate_micros(now)))
                print("ok %d" % now, flush=True)
                continue
            elif cmd == "raw":
                send(line[4:].rstrip("\n") + "\n")
            elif cmd == "flood":
                car, n = words[1], int(words[2])
                for _ in range(n):
                    send("P %s %d\n" % (car, gate_micros()))
            elif cmd == "pull":
                pull()
            elif cmd == "plug":
                plug()
                send("TRELVIX-GATE 1 fake gate\n")
            elif cmd == "reset":
                state["origin"] = time.monotonic_ns()
                send("TRELVIX-GATE 1 fake gate\n")
            elif cmd == "beat":
                state["beat"] = words[1] == "on"
            elif cmd == "burst":
                note = "# a note from the gate that nobody reads\n"
                send(note * (int(words[1]) // len(note)))
            elif cmd == "hangup":
                if state["conn"] is not None:
                    state["conn"].close()
                    state["conn"] = None
            elif cmd == "connections":
                print("ok %d" % state["connections"], flush=True)
                continue
            elif cmd == "quit":
                pull()
                print("ok", flush=True)
                return
        print("ok", flush=True)


if __name__ == "__main__":
    main()
