#!/usr/bin/env python3
"""Reads the program's CSV export with Python's own CSV reader and compares it with the list
the end-to-end driver saw:  check-export.py EXPORT.csv EXPECTED.txt

EXPECTED.txt holds one row of the list a line: caption, status and priority, tab-separated.
Exit 0 when every row matches, 1 with the differences printed otherwise."""
import csv
import io
import re
import sys

HEADER = ["Событие", "Старт", "Прошло, с", "Прошло", "Статус", "Ограничение, мин", "Приоритет"]


def main(export_path, expected_path):
    raw = open(export_path, "rb").read()
    problems = []
    if not raw.startswith(b"\xef\xbb\xbf"):
        problems.append("no UTF-8 byte-order mark")
    text = raw.decode("utf-8-sig")
    if "\n" in text.replace("\r\n", ""):
        problems.append("a line ends without CR LF outside a quoted field")
    first = text.split("\r\n", 1)[0]
    separator = first[len(HEADER[0])]
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=separator, strict=True))
    if rows[0] != HEADER:
        problems.append("header %r" % rows[0])
    expected = [line.split("\t") for line in open(expected_path, encoding="utf-8").read().splitlines()]
    body = rows[1:]
    if len(body) != len(expected):
        problems.append("%d rows, the list has %d" % (len(body), len(expected)))
    for i, (got, want) in enumerate(zip(body, expected)):
        caption, status, priority = want
        if len(got) != len(HEADER):
            problems.append("row %d has %d fields" % (i, len(got)))
            continue
        if got[0] != caption or got[4] != status or got[6] != priority:
            problems.append("row %d: %r, the list shows %r" % (i, [got[0], got[4], got[6]], want))
        if not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d", got[1]):
            problems.append("row %d: start %r is not ISO 8601 with an offset" % (i, got[1]))
        h, m, s = (int(x) for x in got[3].split(":"))
        if h * 3600 + m * 60 + s != int(got[2]):
            problems.append("row %d: %s is not %s seconds" % (i, got[3], got[2]))
    for p in problems:
        print("  export: " + p)
    print("  %s the export read back with Python's CSV reader matches the list (%d rows)"
          % ("ok  " if not problems else "FAIL", len(body)))
    return 0 if not problems else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
