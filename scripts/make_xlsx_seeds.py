#!/usr/bin/python3
"""Writes seeds for the fuzz_xlsx target into OUTPUT_DIR: small Excel 2007+
workbooks laid out as the schedule export lays them out, with their parts
stored uncompressed so that the fuzzer's changes reach the XML, and for each
real workbook given, a copy cut to its first rows (a whole export is too
large to fuzz quickly), its shared strings renumbered to those rows.

    scripts/make_xlsx_seeds.py OUTPUT_DIR [REAL.xlsx ...]
"""
import os
import re
import sys
import zipfile

NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
REL_NS = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
KEEP_ROWS = 12


def package(sheets, strings=None, styles=None, book_pr=""):
    """The parts of a workbook: sheets as (name, xml) in workbook order."""
    parts = {}
    rels = ['<Relationship Id="rIdBook" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
            'relationships/officeDocument" Target="xl/workbook.xml"/>']
    parts["_rels/.rels"] = ('<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.'
                            'openxmlformats.org/package/2006/relationships">' + "".join(rels) + "</Relationships>")
    entries, links = [], []
    for i, (name, xml) in enumerate(sheets, start=1):
        entries.append(f'<sheet name="{name}" sheetId="{i}" r:id="rId{i}"/>')
        links.append(f'<Relationship Id="rId{i}" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
                     f'relationships/worksheet" Target="worksheets/sheet{i}.xml"/>')
        parts[f"xl/worksheets/sheet{i}.xml"] = xml
    if strings is not None:
        links.append('<Relationship Id="rIdS" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
                     'relationships/sharedStrings" Target="sharedStrings.xml"/>')
        parts["xl/sharedStrings.xml"] = strings
    if styles is not None:
        links.append('<Relationship Id="rIdT" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
                     'relationships/styles" Target="styles.xml"/>')
        parts["xl/styles.xml"] = styles
    parts["xl/workbook.xml"] = (f'<?xml version="1.0" encoding="UTF-8"?><workbook {NS} {REL_NS}>{book_pr}'
                                f'<sheets>{"".join(entries)}</sheets></workbook>')
    parts["xl/_rels/workbook.xml.rels"] = (
        '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/'
        'package/2006/relationships">' + "".join(links) + "</Relationships>")
    return parts


def write(path, parts, compression=zipfile.ZIP_STORED):
    with zipfile.ZipFile(path, "w", compression) as z:
        for name, text in parts.items():
            z.writestr(name, text.encode("utf-8") if isinstance(text, str) else text)


def sheet(rows):
    return f'<worksheet {NS}><sheetData>' + "".join(rows) + "</sheetData></worksheet>"


def seeds(out):
    styles = (f'<styleSheet {NS}><numFmts count="1"><numFmt numFmtId="164" formatCode="dd/mm/yyyy hh:mm"/>'
              '</numFmts><cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="22"/><xf numFmtId="164"/>'
              '</cellXfs></styleSheet>')
    strings = (f'<sst {NS} count="6" uniqueCount="6"><si><t>task_code</t></si><si><t>task_name</t></si>'
               '<si><t>Activity ID</t></si><si><r><t>Activity </t></r><r><t>Name</t></r></si>'
               '<si><t>A1000</t><rPh><t>x</t></rPh></si><si><t xml:space="preserve"> Pour_x000D_ </t></si></sst>')
    task = sheet([
        '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="inlineStr"><is><t>'
        'start_date</t></is></c><c t="inlineStr"><is><t>target_drtn_hr_cnt</t></is></c>'
        '<c t="inlineStr"><is><t>lock_plan_flag</t></is></c></row>',
        '<row r="2"><c r="A2" t="s"><v>2</v></c><c r="B2" t="s"><v>3</v></c></row>',
        '<row r="3"><c r="A3" t="s"><v>4</v></c><c r="B3" t="s"><v>5</v></c><c r="C3" s="1"><v>45317.3125</v>'
        '</c><c><v>16</v></c><c t="b"><v>1</v></c></row>',
        '<row><c t="str"><v>A1010</v></c><c t="e"><v>#N/A</v></c><c s="2"><v>45320.5</v></c></row>',
    ])
    pred = sheet([
        '<row r="1"><c t="inlineStr"><is><t>task_id</t></is></c><c t="inlineStr"><is><t>pred_task_id</t>'
        '</is></c><c t="inlineStr"><is><t>pred_type</t></is></c><c t="inlineStr"><is><t>lag_hr_cnt</t>'
        '</is></c></row>',
        '<row r="2"><c t="inlineStr"><is><t>Activity ID</t></is></c></row>',
        '<row r="3"><c t="str"><v>A1010</v></c><c t="s"><v>4</v></c><c t="str"><v>PR_FS</v></c>'
        '<c><v>8</v></c></row>',
    ])
    user = sheet(['<row r="1"><c t="inlineStr"><is><t>user_data</t></is></c></row>',
                  '<row r="2"><c t="inlineStr"><is><t>UserSettings Do Not Edit</t></is></c></row>',
                  '<row r="3"><c t="inlineStr"><is><t>DurationQtyType=QT_Day&#10;ShowAsPercentage=0</t>'
                  '</is></c></row>'])
    full = package([("TASK", task), ("TASKPRED", pred), ("USERDATA", user)], strings, styles)
    write(os.path.join(out, "export.xlsx"), full)
    write(os.path.join(out, "export_deflated.xlsx"), full, zipfile.ZIP_DEFLATED)
    write(os.path.join(out, "date1904.xlsx"),
          package([("USERDATA", user), ("TASK", task)], strings, styles, '<workbookPr date1904="1"/>'))


def shrink(real, out):
    """The real workbook's sheets cut to their first rows."""
    with zipfile.ZipFile(real) as z:
        names = z.namelist()
        sst = z.read("xl/sharedStrings.xml").decode("utf-8") if "xl/sharedStrings.xml" in names else None
        items = re.findall(r"<si>.*?</si>", sst, re.S) if sst else []
        used = {}
        parts = {}
        for name in names:
            data = z.read(name)
            if name.startswith("xl/worksheets/sheet") and name.endswith(".xml"):
                text = data.decode("utf-8")
                rows = re.findall(r"<row[ >].*?</row>", text, re.S)[:KEEP_ROWS]

                def renumber(m):
                    i = int(m.group(2))
                    used.setdefault(i, len(used))
                    return m.group(1) + str(used[i]) + "</v>"
                kept = re.sub(r'(<c [^>]*t="s"[^>]*><v>)(\d+)</v>', renumber, "".join(rows))
                text = re.sub(r"<sheetData>.*</sheetData>", lambda _: "<sheetData>" + kept + "</sheetData>",
                              text, flags=re.S)
                data = text.encode("utf-8")
            if name == "xl/sharedStrings.xml":
                continue
            parts[name] = data
        if sst is not None:
            order = sorted(used, key=used.get)
            parts["xl/sharedStrings.xml"] = (sst[:sst.index("<si>")] + "".join(items[i] for i in order if i < len(items))
                                             + "</sst>").encode("utf-8")
    write(os.path.join(out, "real-" + os.path.basename(real)), parts)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    seeds(out)
    for real in sys.argv[2:]:
        shrink(real, out)


if __name__ == "__main__":
    main()
