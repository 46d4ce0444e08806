"""The import done with openpyxl's read-only mode, for comparison with
qelExelRd: the data_db tables emptied and filled from their sheets in one
transaction, the further columns set as qelExelRd sets them.

  /usr/bin/python3 openpyxl_import.py WORKBOOK DATABASE
"""
import sqlite3
import sys

import openpyxl

SHEETS = [
    ("BIBO", ["ref", "visible", "view", "txt", "desc", "type", "color"],
     {"value": "-ERR-", "raw": "0", "counter": "0"}),
    ("MEAS", ["ref", "visible", "view", "txt", "unit", "desc", "color"],
     {"value": "-ERR-", "raw": "0", "counter": "0"}),
    ("CTRL", ["ref", "visible", "view", "txt", "desc", "color"], {"value": "0"}),
]


def main(workbook_path, database_path):
    workbook = openpyxl.load_workbook(workbook_path, read_only=True)
    database = sqlite3.connect(database_path, isolation_level=None)
    database.execute("BEGIN TRANSACTION")
    for table, columns, further in SHEETS:
        database.execute("DELETE FROM '%s'" % table)
        names = columns + list(further)
        statement = "INSERT INTO %s (%s) VALUES (%s)" % (
            table, ", ".join(names), ", ".join("?" * len(names)))
        rows = workbook[table].iter_rows(min_row=2, values_only=True)
        database.executemany(statement, (
            [None if value is None else str(value) for value in row[:len(columns)]]
            + [None] * (len(columns) - len(row)) + list(further.values())
            for row in rows))
    database.execute("COMMIT")
    workbook.close()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
