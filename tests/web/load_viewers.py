#!/usr/bin/python3
"""Viewers of the results page for the load test: keeps WebSocket viewers
connected to one or more programs, stamps every push on arrival
(CLOCK_MONOTONIC, as bench/xpress stamps its presses), and when the file
STOP appears (or after a time limit) matches the pushes to the presses.

  load_viewers.py READY STOP PRESSES LIMIT_S PORT:COUNT...

READY is written once every viewer is connected. PRESSES is xpress's
"TARGET NS" log; target i is the i-th PORT given. Prints per program the
pass-to-page latency in ms (median, p99, max) over every viewer and pass.
Fails when a viewer is dropped, misses a pass or sees the passes go back,
or when the median of a later program passes the first program's (the
reference, measured in the same run on the same machine, by this same
process) by more than MARGIN_MS (env LOAD_PAGE_MARGIN_MS, default 250)
and is more than twice it.
"""
import json
import os
import re
import select
import sys
import time

import websocket

PASSES = re.compile(rb'"passes":(\d+)')


def percentile(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(p * (len(values) - 1) + 0.5))]


def main(argv):
    ready, stop, presses_file, limit = argv[1], argv[2], argv[3], float(argv[4])
    targets = [(int(p), int(n)) for p, n in (a.split(":") for a in argv[5:])]
    margin_ms = float(os.environ.get("LOAD_PAGE_MARGIN_MS", "250"))
    viewers = []  # (target, socket, {passes: first arrival ns})
    reordered = 0
    for index, (port, count) in enumerate(targets):
        for _ in range(count):
            ws = websocket.create_connection(f"ws://127.0.0.1:{port}/live", timeout=10)
            viewers.append((index, ws, {}))
    open(ready, "w").write("ready\n")
    by_socket = {v[1].sock.fileno(): v for v in viewers}
    deadline = time.monotonic() + limit
    dropped = 0
    # Once STOP appears, the presses are all made: the viewers are read until
    # each has seen its program's last pass (or the time limit ends), however
    # long a busy machine takes to deliver them.
    expected = None

    def all_seen():
        return all(max(seen, default=0) >= expected[index] for index, _, seen in by_socket.values())

    while time.monotonic() < deadline and by_socket and (expected is None or not all_seen()):
        if expected is None and os.path.exists(stop):
            expected = [0] * len(targets)
            for line in open(presses_file):
                expected[int(line.split()[0])] += 1
        readable, _, _ = select.select(list(by_socket), [], [], 0.05)
        # Every push readable now had arrived by now: stamped once, so the
        # time this loop takes over 200 sockets is not counted as the server's.
        now = time.monotonic_ns()
        for fd in readable:
            index, ws, seen = by_socket[fd]
            try:
                message = ws.recv()
            except (websocket.WebSocketException, OSError):
                del by_socket[fd]
                dropped += 1
                continue
            data = message.encode() if isinstance(message, str) else message
            match = PASSES.search(data)
            if match:
                passes = int(match.group(1))
                # A viewer never sees the count go back.
                if seen and passes < max(seen):
                    reordered += 1
                seen.setdefault(passes, now)
    presses = [[] for _ in targets]
    for line in open(presses_file):
        target, ns = line.split()
        presses[int(target)].append(int(ns))
    ok = dropped == 0 and reordered == 0
    reference = None
    for index, (port, count) in enumerate(targets):
        latencies, missing = [], 0
        for _, _, seen in (v for v in viewers if v[0] == index):
            for k, pressed in enumerate(presses[index], start=1):
                # The first push that shows k passes or more.
                arrivals = [at for passes, at in seen.items() if passes >= k]
                if arrivals:
                    latencies.append((min(arrivals) - pressed) / 1e6)
                else:
                    missing += 1
        if not latencies:
            print(f"viewers={count}: no pass reached a viewer")
            ok = False
            continue
        print(f"viewers={count}: pass-to-page ms over {len(latencies)} (viewer, pass) pairs: "
              f"median {percentile(latencies, 0.5):.1f} p99 {percentile(latencies, 0.99):.1f} "
              f"max {max(latencies):.1f}; passes missed {missing}")
        median = percentile(latencies, 0.5)
        if reference is None:
            reference = median
        elif median > max(reference + margin_ms, 2 * reference):
            print(f"viewers={count}: median {median:.1f} ms is more than {margin_ms:.0f} ms and twice "
                  f"the reference's {reference:.1f} ms")
            ok = False
        ok = ok and missing == 0
        print(json.dumps({"viewers": count, "median_ms": round(percentile(latencies, 0.5), 1),
                          "p99_ms": round(percentile(latencies, 0.99), 1)}))
    if dropped:
        print(f"{dropped} viewers were dropped")
    if reordered:
        print(f"{reordered} pushes showed fewer passes than one before them")
    for _, ws, _ in viewers:
        ws.shutdown()
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
