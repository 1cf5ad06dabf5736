"""Reads a race's exported CSV with the csv module, and its spreadsheet's
sheets, and checks every value against the race's record files
(Windows-1252, TAB-separated, comma decimals). A Spanish export separates
with ';' and writes comma decimals; every CSV starts with a UTF-8 mark. A
text a spreadsheet would run as a formula must start with an apostrophe.
usage: check_csv.py RECORD_FOLDER EXPORT_FOLDER YYMMDDnn es|en"""
import csv
import re
import sys
import xml.etree.ElementTree as ET
import zipfile

records, exported, race, lang = sys.argv[1:5]
separator, mark = (";", ",") if lang == "es" else (",", ".")


def record_lines(name):
    with open(f"{records}/{name}", encoding="cp1252", newline="") as f:
        return [line.split("\t") for line in f.read().split("\r\n") if line]


def table(name):
    with open(f"{exported}/{race}-{name}.csv", "rb") as f:
        data = f.read()
    if not data.startswith(b"\xef\xbb\xbf"):
        problems.append(f"{name}: no UTF-8 mark")
    rows = list(csv.reader(data.decode("utf-8-sig").splitlines(), delimiter=separator))
    return rows[0], rows[1:]


def number(text):
    if mark == "," and "." in text or mark == "." and "," in text:
        problems.append(f"{text}: wrong decimal mark")
    return float(text.replace(",", "."))


def seconds(text):
    """A duration ("01'27\\"310", "1h 03'07\\"042") or seconds ("250,117")."""
    m = re.fullmatch(r"(?:(\d+)h )?(\d+)'(\d+)\"(\d+)", text)
    if m:
        h, mi, s, ms = (int(g or 0) for g in m.groups())
        return ((h * 60 + mi) * 60 + s) + ms / 1000
    return float(text.replace(",", "."))


def same(a, b):
    return abs(number(a) - b) < 0.0005


def plain_text(text):
    """What a cell must hold: formula-looking texts behind an apostrophe."""
    if text[:1] in ("=", "+", "-", "@", "\t", "\r") and not re.fullmatch(r"[-+]?\d+([.,]\d+)?", text):
        return "'" + text
    return text


def sheets():
    """Each sheet of the workbook as rows of values; numbers as floats."""
    ns = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
    book = zipfile.ZipFile(f"{exported}/{race}.xlsx")
    shared = [si.findtext(".//m:t", "", ns) for si in ET.fromstring(book.read("xl/sharedStrings.xml"))]
    out = []
    for n in (1, 2, 3):
        rows = []
        for row in ET.fromstring(book.read(f"xl/worksheets/sheet{n}.xml")).iter(f"{{{ns['m']}}}row"):
            cells = {}
            for c in row:
                col = ord(c.get("r")[0]) - ord("A")
                v = c.findtext("m:v", None, ns)
                cells[col] = shared[int(v)] if c.get("t") == "s" else float(v)
            rows.append([cells.get(i) for i in range(max(cells) + 1)] if cells else [])
        out.append(rows)
    return out


problems = []
classification_sheet, passes_sheet, events_sheet = sheets()

head, rows = table("passes")
expected = record_lines(f"{race}.pss")
keys = ["paso", "coche", "vuelta", "tiempo_s", "tiempo_total_s"] if lang == "es" else \
    ["pass", "car", "lap", "lap_time_s", "total_time_s"]
if head != keys or len(rows) != len(expected) or not rows or len(passes_sheet) != len(rows) + 1:
    problems.append(f"passes: {head}, {len(rows)} rows for {len(expected)} lines")
for row, line, cells in zip(rows, expected, passes_sheet[1:]):
    if row[:3] != line[:3] or not same(row[3], seconds(line[3])) or not same(row[4], seconds(line[4])):
        problems.append(f"pass {row} for {line}")
    if cells[:3] != [float(x) for x in line[:3]] or abs(cells[3] - seconds(line[3])) > 0.0005:
        problems.append(f"passes sheet {cells} for {line}")

head, rows = table("classification")
expected = record_lines(f"{race}.cls")[3:]
if len(rows) != len(expected) or len(classification_sheet) != len(rows) + 1:
    problems.append(f"classification: {len(rows)} rows for {len(expected)}")
for row, line, cells in zip(rows, expected, classification_sheet[1:]):
    if row[:3] != line[:3] or not same(row[3], seconds(line[3])) or not same(row[4], seconds(line[4])):
        problems.append(f"classification {row} for {line}")
    if abs(cells[4] - seconds(line[4])) > 0.0005:
        problems.append(f"classification sheet {cells} for {line}")

head, rows = table("events")
expected = record_lines(f"{race}.inc")
if len(rows) != len(expected) or not any(r[4] == "MANU" for r in rows) or len(events_sheet) != len(rows) + 1:
    problems.append(f"events: {len(rows)} rows for {len(expected)}")
for row, line, cells in zip(rows, expected, events_sheet[1:]):
    car = "" if line[1] == "--" else line[1]
    lap = "" if line[2] == "--" else line[2]
    detail = line[5] if len(line) > 5 else ""
    if row[0] != line[0] or row[1] != car or row[2] != lap or not same(row[3], seconds(line[3])) \
            or row[4] != line[4] or row[5] != plain_text(detail):
        problems.append(f"event {row} for {line}")
    # The spreadsheet holds the text as it is: a text cell is never a formula.
    if detail and (len(cells) < 6 or cells[5] != detail):
        problems.append(f"events sheet {cells} for {line}")

for p in problems[:20]:
    print(p)
sys.exit(1 if problems else 0)
