"""The export's fuzz corpus: the record files the program wrote, the
readers' regression inputs, and seeded mutations of them (bytes flipped,
lines cut, fields dropped or doubled, numbers spoiled, lines overlong).
usage: mutate.py RECORD_FOLDER REGRESSIONS_FOLDER OUT_FOLDER"""
import os
import random
import sys

records, regressions, out = sys.argv[1:4]
os.makedirs(out, exist_ok=True)
kinds = {"26120600.TXT": "races", "26120601.pss": "passes", "26120601.cls": "classification",
         "26120601.inc": "events"}
rng = random.Random(20261208)
n = 0


def put(data, kind):
    global n
    n += 1
    with open(os.path.join(out, f"{n:04d}.{kind}"), "wb") as f:
        f.write(data)


def mutate(data):
    b = bytearray(data)
    for _ in range(rng.randint(1, 4)):
        choice = rng.randrange(7)
        if not b:
            b += b"\t"
        i = rng.randrange(len(b))
        if choice == 0:
            b[i] = rng.randrange(256)
        elif choice == 1:
            del b[i:i + rng.randint(1, 40)]
        elif choice == 2:
            b[i:i] = b"\t" * rng.randint(1, 3)
        elif choice == 3:
            b[i:i] = rng.choice([b"x", b"-1", b"99999999999", b"1e308", b"nan", b",,", b"\xff\xfe", b"\x00"])
        elif choice == 4:
            b[i:i] = b"A" * rng.choice([300, 5000])
        elif choice == 5:
            b = b[:i]
        else:
            b[i:i] = b"\r\n"
    return bytes(b)


for name, kind in kinds.items():
    data = open(os.path.join(records, name), "rb").read()
    put(data, kind)
    for _ in range(12):
        put(mutate(data), kind)
for kind in set(kinds.values()):
    folder = os.path.join(regressions, kind)
    if os.path.isdir(folder):
        for name in sorted(os.listdir(folder)):
            put(open(os.path.join(folder, name), "rb").read(), kind)
put(b"", "passes")
put(b"", "classification")
