"""Writes and reads workbooks with openpyxl, an independent xlsx implementation,
for the converter tests. Run with Debian's /usr/bin/python3.

  openpyxl_tool.py write SPEC.json OUT.xlsx
      SPEC: [[sheet name, [[cell, ...], ...]], ...]; a cell is a string, a
      number or null (left empty).
  openpyxl_tool.py read IN.xlsx OUT.json
      OUT: the same shape, every cell as openpyxl gives it.
"""
import json
import sys

import openpyxl


def write(spec_path, workbook_path):
    with open(spec_path, encoding="utf-8") as spec_file:
        spec = json.load(spec_file)
    workbook = openpyxl.Workbook()
    workbook.remove(workbook.active)
    for name, rows in spec:
        sheet = workbook.create_sheet(name)
        for r, row in enumerate(rows, 1):
            for c, value in enumerate(row, 1):
                if value is not None:
                    sheet.cell(row=r, column=c, value=value)
    workbook.save(workbook_path)


def read(workbook_path, result_path):
    workbook = openpyxl.load_workbook(workbook_path)
    result = []
    for sheet in workbook.worksheets:
        rows = [[cell.value for cell in row] for row in sheet.iter_rows()]
        result.append([sheet.title, rows])
    with open(result_path, "w", encoding="utf-8") as result_file:
        json.dump(result, result_file, ensure_ascii=False)


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("write", "read"):
        sys.exit(__doc__)
    (write if sys.argv[1] == "write" else read)(sys.argv[2], sys.argv[3])
