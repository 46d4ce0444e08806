"""The export done with openpyxl's write-only mode, for comparison with
qelExelWr: the data_db tables BIBO, MEAS and CTRL to one sheet each, a header
row of the worksheet columns and every value as text (None for NULL).

  /usr/bin/python3 openpyxl_export.py DATABASE WORKBOOK
"""
import sqlite3
import sys

import openpyxl

SHEETS = [
    ("BIBO", ["ref", "visible", "view", "txt", "desc", "type", "color"]),
    ("MEAS", ["ref", "visible", "view", "txt", "unit", "desc", "color"]),
    ("CTRL", ["ref", "visible", "view", "txt", "desc", "color"]),
]


def main(database_path, workbook_path):
    database = sqlite3.connect(database_path)
    workbook = openpyxl.Workbook(write_only=True)
    for table, columns in SHEETS:
        sheet = workbook.create_sheet(table)
        sheet.append(columns)
        query = "SELECT %s FROM %s" % (", ".join(columns), table)
        for row in database.execute(query):
            sheet.append([None if value is None else str(value) for value in row])
    workbook.save(workbook_path)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
