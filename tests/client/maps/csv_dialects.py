"""Writes a register map with Python's csv module, for the map import tests.
Run with Debian's /usr/bin/python3.

  csv_dialects.py SPEC.json OUT.csv DIALECT ENCODING
      SPEC: [[cell, ...], ...], the header first; DIALECT "excel" (commas)
      or "semicolon" (the excel dialect with semicolons, as Polish
      spreadsheet programs write it); ENCODING a Python codec name such as
      "utf-8", "utf-8-sig" (with a byte-order mark) or "cp1250".
"""
import csv
import json
import sys


class Semicolon(csv.excel):
    delimiter = ";"


def main():
    spec_path, out_path, dialect, encoding = sys.argv[1:5]
    with open(spec_path, encoding="utf-8") as spec_file:
        rows = json.load(spec_file)
    with open(out_path, "w", encoding=encoding, newline="") as out:
        writer = csv.writer(out, dialect=Semicolon if dialect == "semicolon" else csv.excel)
        writer.writerows(rows)


if __name__ == "__main__":
    main()
