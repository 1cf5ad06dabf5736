"""Reads a race's exported CSV with the csv module and checks every value
against the race's record files (Windows-1252, TAB-separated, comma decimals).
usage: check_csv.py RECORD_FOLDER EXPORT_FOLDER YYMMDDnn"""
import csv
import re
import sys

records, exported, race = sys.argv[1:4]


def record_lines(name):
    with open(f"{records}/{name}", encoding="cp1252", newline="") as f:
        return [line.split("\t") for line in f.read().split("\r\n") if line]


def table(name):
    with open(f"{exported}/{race}-{name}.csv", encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f))
    return rows[0], rows[1:]


def seconds(text):
    """A duration ("01'27\\"310", "1h 03'07\\"042") or seconds ("250,117")."""
    m = re.fullmatch(r"(?:(\d+)h )?(\d+)'(\d+)\"(\d+)", text)
    if m:
        h, mi, s, ms = (int(g or 0) for g in m.groups())
        return ((h * 60 + mi) * 60 + s) + ms / 1000
    return float(text.replace(",", "."))


def same(a, b):
    return abs(float(a) - b) < 0.0005


problems = []
head, rows = table("passes")
expected = record_lines(f"{race}.pss")
if head != ["paso", "coche", "vuelta", "tiempo_s", "tiempo_total_s"] or len(rows) != len(expected) or not rows:
    problems.append(f"passes: {head}, {len(rows)} rows for {len(expected)} lines")
for row, line in zip(rows, expected):
    if row[:3] != line[:3] or not same(row[3], seconds(line[3])) or not same(row[4], seconds(line[4])):
        problems.append(f"pass {row} for {line}")

head, rows = table("classification")
expected = record_lines(f"{race}.cls")[3:]
if len(rows) != len(expected):
    problems.append(f"classification: {len(rows)} rows for {len(expected)}")
for row, line in zip(rows, expected):
    if row[:3] != line[:3] or not same(row[3], seconds(line[3])) or not same(row[4], seconds(line[4])):
        problems.append(f"classification {row} for {line}")

head, rows = table("events")
expected = record_lines(f"{race}.inc")
if len(rows) != len(expected) or not any(r[4] == "MANU" for r in rows):
    problems.append(f"events: {len(rows)} rows for {len(expected)}")
for row, line in zip(rows, expected):
    car = "" if line[1] == "--" else line[1]
    lap = "" if line[2] == "--" else line[2]
    detail = line[5] if len(line) > 5 else ""
    if row[0] != line[0] or row[1] != car or row[2] != lap or not same(row[3], seconds(line[3])) \
            or row[4] != line[4] or row[5] != detail:
        problems.append(f"event {row} for {line}")

for p in problems[:20]:
    print(p)
sys.exit(1 if problems else 0)
