#!/usr/bin/env python3
"""Times the real program under a virtual display, as an operator uses it.

- a burst: twelve cars pressed within 50 ms, five times: no key lost, every
  pass its own time, in press order;
- opening the files browser on a day of 99 races of 3000 passes each;
- start-up time to the report box, and resident memory during a 12-car race.

Key to disk is measured by bench/key_to_disk.sh, with keys on one persistent
X connection; starting a tool per key, as this script does for its bursts,
would hide the differences.

Usage: bench/operator_bench.py BUILD_DIR   (tools/bench.sh runs it)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
PROGRAM = os.path.join(BUILD, "src/app/trelvix")
MAKE_RACES = os.path.join(BUILD, "bench/make_races")
DISPLAY = ":94"
DAY = time.strftime("%y%m%d")


def xdo(*args, check=True):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, check=check,
                          env={**os.environ, "DISPLAY": DISPLAY}).stdout.split()


def wait_window(pattern, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = xdo("search", "--onlyvisible", "--name", pattern, check=False)
        if found:
            return found[0]
        time.sleep(0.002)
    raise RuntimeError(f"no window {pattern}")


def start_program(folder):
    shutil.copy(PROGRAM, folder)
    env = {**os.environ, "DISPLAY": DISPLAY}
    t0 = time.perf_counter()
    proc = subprocess.Popen(["./trelvix"], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    box = wait_window("^TRELVIX$")
    startup = time.perf_counter() - t0
    xdo("windowfocus", "--sync", box)
    xdo("key", "Return")
    main = wait_window(r"TRELVIX \(TRELVIX\)")
    xdo("windowfocus", "--sync", main)
    return proc, main, startup


def click(window, x, y):
    xdo("mousemove", "--window", window, str(x), str(y), "click", "1")


def key_to_disk(path, keys):
    """Milliseconds from each key press to its line being on disk."""
    times = []
    for i, key in enumerate(keys):
        slot = time.monotonic() + 0.26  # every car comes round after its minimum lap
        size = os.stat(path).st_size if os.path.exists(path) else 0
        t0 = time.perf_counter_ns()
        xdo("key", "--delay", "0", key)
        while not os.path.exists(path) or os.stat(path).st_size <= size:
            if time.perf_counter_ns() - t0 > 5e9:
                raise RuntimeError(f"press {i} ({key}) never reached the disk")
        times.append((time.perf_counter_ns() - t0) / 1e6)
        time.sleep(max(0.0, slot - time.monotonic()))
    return times


def main():
    work = tempfile.mkdtemp(prefix="trelvix-bench-")
    os.environ["XDG_RUNTIME_DIR"] = os.path.join(work, "run")
    os.makedirs(os.environ["XDG_RUNTIME_DIR"], mode=0o700)
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    procs = []
    try:
        time.sleep(0.5)
        # Start-up time, five starts of a fresh copy.
        startups = []
        for i in range(5):
            folder = os.path.join(work, f"start{i}")
            os.makedirs(folder)
            proc, _, startup = start_program(folder)
            startups.append(startup * 1000)
            proc.kill()
            proc.wait()

        # A 12-car race, 20 minutes, common timing, minimum lap 3 s.
        race = os.path.join(work, "race")
        os.makedirs(race)
        proc, main_win, _ = start_program(race)
        procs.append(proc)
        click(main_win, 14, 168 + 165 + 40 + 6)   # CheckBox11
        click(main_win, 14, 168 + 165 + 60 + 6)   # CheckBox12
        click(main_win, 160, 21)                   # "20 min": common timing
        click(main_win, 170, 133)                  # minimum lap spin box
        for _ in range(10):
            xdo("key", "Down")
        click(main_win, 36, 12)                    # "Inicio"
        pss = os.path.join(race, f"{DAY}01.pss")
        key_to_disk(pss, [f"F{i % 12 + 1}" for i in range(24)])
        rss_kb = next(int(line.split()[1]) for line in open(f"/proc/{proc.pid}/status") if line.startswith("VmRSS"))

        # Bursts: twelve cars within 50 ms.
        burst_ok = True
        for _ in range(5):
            time.sleep(3.1)
            before = open(pss, "rb").read().count(b"\n")
            xdo("key", "--delay", "4", *[f"F{n}" for n in range(1, 13)])
            deadline = time.monotonic() + 5
            while open(pss, "rb").read().count(b"\n") < before + 12 and time.monotonic() < deadline:
                time.sleep(0.01)
            lines = open(pss, "rb").read().decode("cp1252").splitlines()[before:]
            cars = [int(line.split("\t")[1]) for line in lines]
            totals = [line.split("\t")[4] for line in lines]
            if cars != list(range(1, 13)) or totals != sorted(totals) or len(set(totals)) != 12:
                burst_ok = False
                print("burst not as pressed:", lines)
        proc.kill()
        proc.wait()

        # The files browser over 99 races of 3000 passes.
        day = os.path.join(work, "day")
        os.makedirs(day)
        subprocess.run([MAKE_RACES, day, DAY], check=True)
        opens = []
        for _ in range(3):
            proc, main_win, _ = start_program(day)
            t0 = time.perf_counter()
            click(main_win, 598, 418)              # "Ficheros"
            wait_window("^Ficheros$")
            opens.append((time.perf_counter() - t0) * 1000)
            proc.kill()
            proc.wait()

        print(f"machine: {os.cpu_count()} cores, {os.uname().sysname} {os.uname().release}")
        print(f"bursts of 12 cars in 50 ms: {'all 60 passes kept, in press order, each its own time' if burst_ok else 'FAILED'}")
        print(f"files browser on 99 races x 3000 passes, click to window shown: "
              f"median {statistics.median(opens):.0f} ms of {len(opens)}")
        print(f"start-up to the report box: median {statistics.median(startups):.0f} ms of {len(startups)}")
        print(f"resident memory during a 12-car race: {rss_kb / 1024:.1f} MiB")
        return 0 if burst_ok else 1
    finally:
        for p in procs:
            p.kill()
        xvfb.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
