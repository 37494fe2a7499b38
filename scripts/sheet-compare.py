#!/usr/bin/python3
"""Compares what moque-cli reads from spreadsheets with what LibreOffice shows.

    sheet-compare.py --cli build/moque-cli [--stored] [-v] PATH...
    sheet-compare.py --store PATH...

PATH is a spreadsheet (.xlsx, .xlsm, .xls, .csv) or a folder searched for them.
Each sheet is printed by `moque-cli sheet FILE --sheet N` and compared cell by
cell with LibreOffice's as-shown CSV export in a Chinese (zh-CN) locale, made
on the fly with soffice, or with the stored FILE.sheetN.shown.tsv (--stored).
--store writes those references beside the files instead of comparing.

Where LibreOffice shows a cell otherwise than Excel (zh-CN) does, the reference
follows Excel by the rules in RULES; tests/fixtures/real/README.md lists them.

Only cells non-empty on either side are compared; a cell one side lacks (a
shorter row, a missing row or sheet, a refused file) is a miss. Figures are
printed per format and per writer (the application named in the file).

Needs soffice (LibreOffice) unless --stored, and python3-xlrd for .xls.
"""

import argparse
import csv
import datetime
import itertools
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile
from collections import defaultdict
from dataclasses import dataclass
from pathlib import Path

FORMATS = (".xlsx", ".xlsm", ".xls", ".csv")

# LibreOffice's CSV filter: comma, double quote, UTF-8 (76), from line 1, no
# column formats, default language, no forced quotes, numbers as numbers,
# cell contents as shown, no formulas, no space trimming, every sheet (-1) to
# its own file.
SHOWN_EXPORT = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,-1"
# Character sets LibreOffice's CSV import takes by number: 76 UTF-8, 61 GBK
# (code page 936), 65535 UTF-16 with a byte order mark.
UTF8, GBK, UTF16 = 76, 61, 65535
BATCH = 20
# The import filter by file name: without one LibreOffice reads a workbook it
# cannot parse as text and shows its bytes. "MS Excel 97" reads BIFF2 to BIFF8.
IMPORT_FILTERS = [((".xlsx", ".xlsm"), "Calc MS Excel 2007 XML"), ((".xls",), "MS Excel 97")]


def chinese_env():
    """The environment soffice and ssconvert run in: a Chinese locale, built
    with localedef under the temporary folder when the system lacks it."""
    env = dict(os.environ, LANG="zh_CN.UTF-8", LC_ALL="zh_CN.UTF-8")
    installed = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    if not {"zh_CN.utf8", "zh_CN.UTF-8"} & set(installed):
        locales = Path(tempfile.gettempdir()) / "moque-locales"
        if not (locales / "zh_CN.UTF-8").is_dir():
            locales.mkdir(exist_ok=True)
            subprocess.run(["localedef", "-i", "zh_CN", "-f", "UTF-8", str(locales / "zh_CN.UTF-8")],
                           check=True, capture_output=True)
        env["LOCPATH"] = str(locales)
    return env


def spreadsheets(paths):
    found = []
    for path in map(Path, paths):
        if path.is_dir():
            found += sorted(p for p in path.rglob("*") if p.is_file() and p.suffix.lower() in FORMATS)
        else:
            found.append(path)
    return found


def column_name(index):
    name = ""
    index += 1
    while index:
        index, rest = divmod(index - 1, 26)
        name = chr(ord("A") + rest) + name
    return name


def normalized(rows):
    """Rows as the reader pads them: as wide as the last non-empty column,
    without the empty rows at the end."""
    width = max((max((i + 1 for i, c in enumerate(row) if c), default=0) for row in rows), default=0)
    rows = [list(row[:width]) + [""] * (width - len(row)) for row in rows]
    while rows and not any(rows[-1]):
        rows.pop()
    return rows


# ---------------------------------------------------------------- the sheet line form

def sheet_line(cells):
    escapes = {"\t": "\\t", "\n": "\\n", "\r": "\\r", "\\": "\\\\"}
    return "\t".join("".join(escapes.get(c, c) for c in cell) for cell in cells)


def sheet_line_cells(line):
    cells, cell, i = [], [], 0
    unescape = {"t": "\t", "n": "\n", "r": "\r"}
    while i < len(line):
        c = line[i]
        if c == "\t":
            cells.append("".join(cell))
            cell = []
        elif c == "\\" and i + 1 < len(line):
            i += 1
            cell.append(unescape.get(line[i], line[i]))
        else:
            cell.append(c)
        i += 1
    cells.append("".join(cell))
    return cells


def read_tsv(path):
    text = path.read_text(encoding="utf-8")
    return [sheet_line_cells(line) for line in text.split("\n")[:-1]]


def stored_paths(path):
    """FILE.sheet1.shown.tsv, FILE.sheet2.shown.tsv, ... in sheet order."""
    found = []
    while (tsv := path.with_name(f"{path.name}.sheet{len(found) + 1}.shown.tsv")).exists():
        found.append(tsv)
    return found


# ---------------------------------------------------------------- LibreOffice's view

def csv_charset(path):
    """The character set LibreOffice's import is told: UTF-16 by its byte order
    mark, UTF-8 when the bytes are UTF-8, GBK otherwise."""
    data = path.read_bytes()
    if data.startswith((b"\xff\xfe", b"\xfe\xff")):
        return UTF16
    try:
        data.decode("utf-8")
        return UTF8
    except UnicodeDecodeError:
        return GBK


def csv_separator(path, charset):
    data = path.read_bytes()
    text = data.decode({UTF8: "utf-8", GBK: "gbk", UTF16: "utf-16"}[charset], "replace")
    first = text.split("\n", 1)[0]
    return 9 if "\t" in first and "," not in first else 44


def run_soffice(args, profile, timeout):
    command = ["soffice", f"-env:UserInstallation={profile.as_uri()}", "--headless", "--norestore"] + args
    try:
        result = subprocess.run(command, env=chinese_env(), capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    return result.stdout


def parse_conversions(stdout):
    """{source path: [sheet csv paths in sheet order]} from soffice's report."""
    sheets, current = {}, None
    for line in stdout.splitlines():
        if m := re.match(r"convert (.*) using filter : ", line):
            current = sheets.setdefault(m.group(1), [])
        elif (m := re.match(r"Writing sheet .* -> (.*)$", line)) and current is not None:
            current.append(m.group(1))
    return sheets


def read_lo_csv(path):
    with open(path, encoding="utf-8", newline="") as f:
        return [row for row in csv.reader(f)]


def libreoffice_sheets(files, work):
    """{file: [rows of each sheet as LibreOffice shows them]}; a file LibreOffice
    cannot open has no entry."""
    profile = work / "profile"
    links = {}
    for i, path in enumerate(files):
        link = work / "in" / f"f{i:05d}{path.suffix.lower()}"
        link.parent.mkdir(exist_ok=True)
        link.symlink_to(path.resolve())
        links[str(link)] = path
    batches = []
    for suffixes, import_filter in IMPORT_FILTERS:
        books = [link for link, path in links.items() if path.suffix.lower() in suffixes]
        batches += [(import_filter, books[i:i + BATCH]) for i in range(0, len(books), BATCH)]
    conversions = {}
    while batches:
        import_filter, batch = batches.pop()
        stdout = run_soffice([f"--infilter={import_filter}", "--convert-to", SHOWN_EXPORT,
                              "--outdir", str(work / "out")] + batch, profile, 60 + 30 * len(batch))
        if stdout is None and len(batch) > 1:
            # One file hung soffice: the others are converted one by one.
            batches += [(import_filter, [link]) for link in batch]
        elif stdout is not None:
            conversions.update(parse_conversions(stdout))
    for link, path in links.items():
        if path.suffix.lower() != ".csv":
            continue
        charset = csv_charset(path)
        # Every column as text: the reader keeps a CSV's text as written.
        columns = "/".join(f"{c}/2" for c in range(1, 1025))
        infilter = f"Text - txt - csv (StarCalc):{csv_separator(path, charset)},34,{charset},1,{columns}"
        stdout = run_soffice([f"--infilter={infilter}", "--convert-to", SHOWN_EXPORT,
                              "--outdir", str(work / "out")] + [link], profile, 120)
        if stdout is not None:
            conversions.update(parse_conversions(stdout))
    return {links[link]: [read_lo_csv(p) for p in outputs] for link, outputs in conversions.items()
            if link in links and outputs}


# ---------------------------------------------------------------- what the file holds

@dataclass
class Cell:
    # "number", "bool", "error", "text" (a formula's text result), "shared" (a
    # shared string, value its index), "inline" (an inline string's stray
    # value), "continued" (see continued_text)
    kind: str
    value: object
    fmt_id: int = 0
    code: str = None   # the format code the file stores, None for a built-in id without one


NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
      "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
      "rel": "http://schemas.openxmlformats.org/package/2006/relationships"}
M = "{%s}" % NS["m"]


def cell_position(ref):
    m = re.match(r"([A-Z]+)(\d+)$", ref)
    col = 0
    for ch in m.group(1):
        col = col * 26 + ord(ch) - 64
    return int(m.group(2)) - 1, col - 1


def xlsx_part(base, target):
    """A relationship's target as a zip entry name, relative to the part's folder."""
    if target.startswith("/"):
        return target.lstrip("/")
    parts = base.split("/")[:-1]
    for piece in target.split("/"):
        if piece == "..":
            parts = parts[:-1]
        elif piece not in ("", "."):
            parts.append(piece)
    return "/".join(parts)


def xlsx_relationships(z, part):
    folder, name = part.rsplit("/", 1) if "/" in part else ("", part)
    rels = f"{folder}/_rels/{name}.rels" if folder else f"_rels/{name}.rels"
    root = ET.fromstring(z.read(rels))
    return {r.get("Id"): (r.get("Type", ""), xlsx_part(part, r.get("Target", "")))
            for r in root.findall("rel:Relationship", NS)}


def iso_serial(text, date1904):
    """An ISO 8601 date cell (t="d") as the serial number it stands for; a time
    alone is a fraction of a day."""
    text = text.rstrip("Z")
    if "-" not in text:
        clock = datetime.time.fromisoformat(text)
        return (clock.hour * 3600 + clock.minute * 60 + clock.second + clock.microsecond / 1e6) / 86400
    null = datetime.datetime(1904, 1, 1) if date1904 else datetime.datetime(1899, 12, 30)
    return (datetime.datetime.fromisoformat(text) - null) / datetime.timedelta(days=1)


def xlsx_cells(path):
    """[{(row, col): Cell}] per sheet, and whether dates count from 1904."""
    with zipfile.ZipFile(path) as z:
        names = set(z.namelist())
        main = next(target for kind, target in xlsx_relationships(z, "").values()
                    if kind.endswith("/officeDocument"))
        workbook = ET.fromstring(z.read(main))
        pr = workbook.find("m:workbookPr", NS)
        date1904 = pr is not None and pr.get("date1904") in ("1", "true")
        targets = xlsx_relationships(z, main)
        codes, xfs = {}, []
        styles_part = next((t for kind, t in targets.values() if kind.endswith("/styles")), None)
        if styles_part in names:
            styles = ET.fromstring(z.read(styles_part))
            codes = {int(f.get("numFmtId")): f.get("formatCode") for f in styles.iter(M + "numFmt")}
            cell_xfs = styles.find("m:cellXfs", NS)
            if cell_xfs is not None:
                xfs = [int(xf.get("numFmtId") or 0) for xf in cell_xfs.findall("m:xf", NS)]
        sheets = []
        for sheet in workbook.iter(M + "sheet"):
            part = targets.get(sheet.get("{%s}id" % NS["r"]), ("", ""))[1]
            cells = {}
            if part in names:
                row_index = -1
                for row in ET.fromstring(z.read(part)).iter(M + "row"):
                    row_index = int(row.get("r")) - 1 if row.get("r") else row_index + 1
                    col_index = -1
                    for c in row.iter(M + "c"):
                        if c.get("r"):
                            row_index, col_index = cell_position(c.get("r"))
                        else:
                            col_index += 1
                        v = c.find("m:v", NS)
                        if v is None:
                            continue
                        style = int(c.get("s") or 0)
                        fmt_id = xfs[style] if style < len(xfs) else 0
                        kind = {"b": "bool", "e": "error", "s": "shared", "str": "text", "d": "date",
                                "inlineStr": "inline"}.get(c.get("t"), "number")
                        value = v.text or ""
                        if kind == "bool":
                            value = value.strip() in ("1", "true")
                        elif kind == "date":
                            kind, value = "number", iso_serial(value, date1904)
                        elif kind == "number":
                            try:
                                value = float(value)
                            except ValueError:
                                kind = "text"
                        cells[(row_index, col_index)] = Cell(kind, value, fmt_id, codes.get(fmt_id))
            sheets.append(cells)
    return sheets, date1904


BIFF_ERRORS = {0x00: "#NULL!", 0x07: "#DIV/0!", 0x0F: "#VALUE!", 0x17: "#REF!", 0x1D: "#NAME?",
               0x24: "#NUM!", 0x2A: "#N/A"}
CODEPAGES = {936: "gbk", 1252: "cp1252"}


def biff_records(stream, offset):
    while offset + 4 <= len(stream):
        kind, size = struct.unpack_from("<HH", stream, offset)
        yield kind, stream[offset + 4:offset + 4 + size]
        if kind == 0x000A:
            return
        offset += 4 + size


def rk_number(rk):
    if rk & 2:
        value = float(rk >> 2) if not rk & 0x80000000 else float((rk >> 2) - (1 << 30))
    else:
        value = struct.unpack("<d", struct.pack("<Q", (rk & 0xFFFFFFFC) << 32))[0]
    return value / 100 if rk & 1 else value


def biff_string(body, biff8, encoding):
    """The text of a STRING record (a formula's text result)."""
    length = struct.unpack_from("<H", body)[0]
    if not biff8:
        return body[2:2 + length].decode(encoding, "replace")
    wide = body[2] & 1
    return body[3:3 + length * (2 if wide else 1)].decode("utf-16-le" if wide else "latin-1", "replace")


def xls_workbook_stream(path):
    from xlrd.compdoc import CompDoc
    with open(os.devnull, "w") as quiet:
        doc = CompDoc(path.read_bytes(), logfile=quiet)
        return doc.get_named_stream("Workbook") or doc.get_named_stream("Book")


def xls_cells(path):
    """The number, boolean and error cells of an .xls, and its Excel 95 texts
    continued over CONTINUE records, read from its BIFF records (xlrd refuses
    some writers' files, Gnumeric's BIFF7 among them)."""
    stream = xls_workbook_stream(path)
    biff8 = struct.unpack_from("<H", stream, 4)[0] == 0x0600
    encoding, date1904, codes, xfs, offsets = "latin-1", False, {}, [], []
    for kind, body in biff_records(stream, 0):
        if kind == 0x0042:
            encoding = CODEPAGES.get(struct.unpack_from("<H", body)[0], "latin-1")
        elif kind == 0x0022:
            date1904 = struct.unpack_from("<H", body)[0] == 1
        elif kind == 0x041E:
            fmt_id = struct.unpack_from("<H", body)[0]
            if biff8:
                length, flags = struct.unpack_from("<HB", body, 2)
                raw = body[5:5 + length * (2 if flags & 1 else 1)]
                codes[fmt_id] = raw.decode("utf-16-le" if flags & 1 else "latin-1", "replace")
            else:
                codes[fmt_id] = body[3:3 + body[2]].decode(encoding, "replace")
        elif kind == 0x00E0:
            xfs.append(struct.unpack_from("<H", body, 2)[0])
        elif kind == 0x0085:
            offsets.append(struct.unpack_from("<I", body)[0])

    def cell(xf, kind, value):
        fmt_id = xfs[xf] if xf < len(xfs) else 0
        return Cell(kind, value, fmt_id, codes.get(fmt_id))

    sheets = []
    for offset in offsets:
        cells = {}
        records = list(biff_records(stream, offset))
        for index, (kind, body) in enumerate(records):
            if kind in (0x0203, 0x027E, 0x0205, 0x0006, 0x00BD, 0x0204) and len(body) >= 6:
                row, col, xf = struct.unpack_from("<HHH", body)
            if kind == 0x0204 and not biff8 and index + 1 < len(records) and records[index + 1][0] == 0x003C:
                length = struct.unpack_from("<H", body, 6)[0]
                raw = body[8:] + b"".join(b for k, b in itertools.takewhile(
                    lambda record: record[0] == 0x003C, records[index + 1:]))
                cells[(row, col)] = cell(xf, "continued", raw[:length].decode(encoding, "replace"))
            elif kind == 0x0203:
                cells[(row, col)] = cell(xf, "number", struct.unpack_from("<d", body, 6)[0])
            elif kind == 0x027E:
                cells[(row, col)] = cell(xf, "number", rk_number(struct.unpack_from("<I", body, 6)[0]))
            elif kind == 0x00BD:
                for i in range((len(body) - 6) // 6):
                    xf, rk = struct.unpack_from("<HI", body, 4 + 6 * i)
                    cells[(row, col + i)] = cell(xf, "number", rk_number(rk))
            elif kind == 0x0205:
                value, is_error = body[6], body[7]
                cells[(row, col)] = cell(xf, "error", BIFF_ERRORS.get(value, "#N/A")) if is_error \
                    else cell(xf, "bool", bool(value))
            elif kind == 0x0006 and len(body) >= 14:
                result = body[6:14]
                following = records[index + 1] if index + 1 < len(records) else (0, b"")
                if result[6:8] == b"\xff\xff" and result[0] == 0 and following[0] == 0x0207:
                    cells[(row, col)] = cell(xf, "text", biff_string(following[1], biff8, encoding))
                elif result[6:8] != b"\xff\xff":
                    cells[(row, col)] = cell(xf, "number", struct.unpack("<d", result)[0])
                elif result[0] == 1:
                    cells[(row, col)] = cell(xf, "bool", bool(result[2]))
                elif result[0] == 2:
                    cells[(row, col)] = cell(xf, "error", BIFF_ERRORS.get(result[2], "#N/A"))
        sheets.append(cells)
    return sheets, date1904


# ---------------------------------------------------------------- Excel's view: the rules

NUMBER = re.compile(r"-?\d+(\.\d+)?(E[+-]\d+)?")
GROUPED = re.compile(r"-?\d{1,3}(,\d{3})*(\.\d+)?")
DATE = re.compile(r"\d{1,4}[-/]\d{1,2}[-/]\d{1,4}( \d{1,2}:\d{2}(:\d{2})?)?")
# What LibreOffice shows for a formula it calculates otherwise than the file's
# writer did: its own error codes, or Excel's where a function is unknown to it.
RECALCULATED = re.compile(r"Err:\d+|#NAME\?|#VALUE!|#N/A|#REF!|#NUM!|#DIV/0!|#NULL!")
# A boolean under a number format, as LibreOffice shows it: 1, 0, 100%, 1.00 ...
NUMERIC_LOOK = re.compile(r"[-+]?[\d.,]+%?")
# 9999-12-31, the last day Excel shows as a date.
LAST_SERIAL = 2958465
CLOCK = re.compile(r"(\d+):(\d{2})(?::(\d{2}))?(?![.\d])")

# Each rule takes what the file holds of a cell (Cell) and what LibreOffice
# shows, and gives what Excel (zh-CN) shows. A rule acts only where
# LibreOffice's text has the form the rule is about, so that a cell the file's
# records place otherwise than LibreOffice does is left alone.


def excel_datetime(value, date1904):
    null = datetime.datetime(1904, 1, 1) if date1904 else datetime.datetime(1899, 12, 30)
    return null + datetime.timedelta(seconds=round(value * 86400))


def boolean(cell, shown, date1904):
    """Excel shows a boolean as TRUE or FALSE whatever its format; LibreOffice
    shows a boolean read from an .xls (and one under a number format) as 1 or
    0 (100%, 1.00 ...), and a boolean formula it recalculates as it likes."""
    if cell.kind != "bool" or not (shown in ("TRUE", "FALSE") or NUMERIC_LOOK.fullmatch(shown)
                                   or RECALCULATED.fullmatch(shown)):
        return shown
    return "TRUE" if cell.value else "FALSE"


def error_value(cell, shown, date1904):
    """An error value shows as the file holds it (#DIV/0!, #N/A, #VALUE!, #NUM!
    ...); LibreOffice shows some of its own recalculated errors as Err:502."""
    if cell.kind != "error" or not shown.startswith(("#", "Err:")):
        return shown
    return cell.value


def cached_text(cell, shown, date1904):
    """A formula's text result shows as the file caches it (unless a text
    section of its format dresses it); LibreOffice calculates some formulas
    again on loading, the way it does (DOLLAR() in yuan, an error for a
    function it lacks)."""
    if cell.kind != "text" or "@" in (cell.code or ""):
        return shown
    return cell.value


def short_date(cell, shown, date1904):
    """Built-in formats 14 and 22 are the system's short date (and time): in
    zh-CN Excel yyyy/m/d and yyyy/m/d h:mm, whatever code a writer stored for
    the id; LibreOffice uses its own zh-CN short date, yyyy-m-d. Serials before
    1 March 1900, where Excel counts a 29 February that never was, are left."""
    if cell.kind != "number" or cell.fmt_id not in (14, 22) or not DATE.fullmatch(shown) \
            or not (0 if date1904 else 61) <= cell.value <= LAST_SERIAL:
        return shown
    when = excel_datetime(cell.value, date1904)
    text = f"{when.year}/{when.month}/{when.day}"
    return text + f" {when.hour}:{when.minute:02d}" if cell.fmt_id == 22 else text


def yen(cell, shown, date1904):
    """The built-in currency formats 5-8 and 42, 44 (no code in the file) show
    zh-CN Excel's ¥ (U+00A5); LibreOffice puts the fullwidth ￥ (U+FFE5)."""
    if cell.code is None and cell.fmt_id in (5, 6, 7, 8, 42, 44):
        return shown.replace("\uffe5", "\u00a5")
    return shown


def brackets(cell, shown, date1904):
    """The built-in formats 37-40 (no code in the file) are Excel's
    #,##0_);(#,##0) family: a negative number in brackets, a trailing space
    after the others; LibreOffice's zh-CN table shows them with a minus."""
    if cell.code is not None or cell.fmt_id not in (37, 38, 39, 40) or cell.kind != "number" \
            or not GROUPED.fullmatch(shown):
        return shown
    return f"({shown[1:]})" if shown.startswith("-") else shown + " "


# The built-in h:mm AM/PM and h:mm:ss AM/PM.
AM_PM_IDS = (18, 19)
# A Chinese locale in a format code: [$-804], [$-404], [$-1F000804] ...
CHINESE_LCID = re.compile(r"\[\$[^]]*-[0-9A-F]*(804|404|C04|1004|1404)\]", re.IGNORECASE)


def am_pm(cell, shown, date1904):
    """A format's AM/PM shows AM or PM in Excel unless the format names a
    Chinese locale ([$-804]); LibreOffice in a Chinese locale writes 上午 and
    下午 for all."""
    code = cell.code if cell.code is not None else ("AM/PM" if cell.fmt_id in AM_PM_IDS else "")
    if "AM/PM" not in code.upper() or CHINESE_LCID.search(code):
        return shown
    return shown.replace("上午", "AM").replace("下午", "PM")


def clock_fields(seconds, elapsed, twelve):
    hours = seconds // 3600 if elapsed else seconds // 3600 % 24
    if twelve:
        hours = (hours + 11) % 12 + 1
    return hours, seconds // 60 % 60, seconds % 60


def time_rounding(cell, shown, date1904):
    """A time shows the time rounded to the second (9:29:59.6 is 9:30 under
    h:mm); LibreOffice cuts the fraction off. Left alone where the rounding
    moves the day or the half day."""
    m = CLOCK.search(shown)
    if cell.kind != "number" or m is None or cell.value < 0:
        return shown
    exact = cell.value * 86400
    cut, rounded = int(exact), round(exact)
    if cut == rounded or cut // 43200 != rounded // 43200:
        return shown
    twelve = any(mark in shown for mark in ("AM", "PM", "上午", "下午"))
    shown_fields = (int(m.group(1)), int(m.group(2)), int(m.group(3) or 0))
    for elapsed in (False, True):
        fields = clock_fields(cut, elapsed, twelve)
        if (fields if m.group(3) else fields[:2] + (0,)) != shown_fields:
            continue
        hours, minutes, secs = clock_fields(rounded, elapsed, twelve)
        text = f"{hours:0{len(m.group(1))}d}:{minutes:02d}" + (f":{secs:02d}" if m.group(3) else "")
        return shown[:m.start()] + text + shown[m.end():]
    return shown


def system_formats(cell, shown, date1904):
    """[$-F400] and [$-F800] stand for the system's long time and long date:
    on zh-CN Windows H:mm:ss and yyyy年M月d日; LibreOffice shows HH:MM:SS and
    adds the weekday to the date."""
    code = (cell.code or "").upper()
    if cell.kind != "number" or not 0 <= cell.value <= LAST_SERIAL:
        return shown
    if code.startswith("[$-F400]") and CLOCK.search(shown):
        when = excel_datetime(cell.value, date1904)
        return f"{when.hour}:{when.minute:02d}:{when.second:02d}"
    if code.startswith("[$-F800]") and "年" in shown:
        when = excel_datetime(cell.value, date1904)
        return f"{when.year}年{when.month}月{when.day}日"
    return shown


def general(cell, shown, date1904):
    """A General number shows 15 significant digits rounded from the number
    itself (LibreOffice rounds its shortest decimal form: 4706.847540097315 is
    ...731 in Excel, ...732 in LibreOffice). Where LibreOffice writes E notation
    or more than 15 integer digits, Excel's E notation has at most six
    significant digits and a two-digit exponent (1.23457E-10, 1E+20; LibreOffice
    1.23456789012E-10, 1E+020). Where LibreOffice cannot calculate the formula,
    the number the file caches."""
    is_general = cell.fmt_id == 0 or (cell.code or "").lower() in ("general", "@")
    if cell.kind != "number" or not is_general:
        return shown
    recalculated = RECALCULATED.fullmatch(shown)
    if not (recalculated or NUMBER.fullmatch(shown)):
        return shown
    digits = f"{cell.value:.15g}"
    if ("e" in digits) if recalculated else ("E" in shown or len(shown.lstrip("-").split(".")[0]) > 15):
        mantissa, exponent = f"{cell.value:.5E}".split("E")
        mantissa = mantissa.rstrip("0").rstrip(".")
        return f"{mantissa}E{exponent[0]}{int(exponent[1:]):02d}"
    return shown if "e" in digits else digits


def continued_text(cell, shown, date1904):
    """An Excel 95 (BIFF5/7) text longer than its LABEL record goes on in
    CONTINUE records and shows whole; LibreOffice keeps the first record's part
    (ending in a broken character where the cut splits one)."""
    if cell.kind == "continued" and cell.value.startswith(shown.rstrip("\ufffd")):
        return cell.value
    return shown


RULES = [boolean, error_value, cached_text, short_date, system_formats, yen, brackets, am_pm, time_rounding,
         general, continued_text]


def excel_view(path, sheets):
    """LibreOffice's sheets with each rule applied to the cells it covers."""
    if path.suffix.lower() == ".csv":
        return [normalized(rows) for rows in sheets]
    cells, date1904 = (xls_cells if path.suffix.lower() == ".xls" else xlsx_cells)(path)
    result = []
    for index, rows in enumerate(sheets):
        rows = [list(row) for row in rows]
        for (r, c), cell in (cells[index].items() if index < len(cells) else ()):
            if r >= len(rows) or c >= len(rows[r]):
                continue
            for rule in RULES:
                rows[r][c] = rule(cell, rows[r][c], date1904)
        result.append(normalized(rows))
    return result


# ---------------------------------------------------------------- who wrote it

def xlsx_writer(path):
    with zipfile.ZipFile(path) as z:
        names = set(z.namelist())

        def text(part, tag):
            if part not in names:
                return ""
            m = re.search(rb"<(?:\w+:)?%s\b[^>]*>([^<]*)<" % tag, z.read(part))
            return m.group(1).decode("utf-8", "replace").strip() if m else ""

        creator = text("docProps/core.xml", b"creator")
        app = text("docProps/app.xml", b"Application")
        workbook = z.read("xl/workbook.xml") if "xl/workbook.xml" in names else b""
    if creator == "openpyxl":
        return "openpyxl"
    if app == "Microsoft Excel" and not creator and b'rupBuild="4505"' in workbook:
        return "xlsxwriter"
    app = app.split("/")[0]
    return "Gnumeric" if app.lower() == "gnumeric" else app or "unknown"


# BOF build and year fields Gnumeric writes (BIFF8 and BIFF7).
GNUMERIC_BOF = {(0x2775, 0x07CD), (0x096C, 0x07C9)}


def summary_app_name(stream):
    """PIDSI_APPNAME (property 0x12) of a SummaryInformation stream."""
    if len(stream) < 48:
        return ""
    offset = struct.unpack_from("<I", stream, 44)[0]
    count = struct.unpack_from("<I", stream, offset + 4)[0]
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, offset + 8 + 8 * i)
        if pid == 0x12:
            vt, length = struct.unpack_from("<II", stream, offset + at)
            if vt == 0x1E:
                return stream[offset + at + 8: offset + at + 8 + length].split(b"\0")[0].decode("latin-1")
    return ""


def xls_writer(path):
    """The application an .xls names, or the one its traits give away: xlwt
    writes no summary and the user "None", Gnumeric its own BOF build numbers
    (and the source document's application name), LibreOffice no name at all."""
    from xlrd.compdoc import CompDoc
    with open(os.devnull, "w") as quiet:
        doc = CompDoc(path.read_bytes(), logfile=quiet)
        book = doc.get_named_stream("Workbook")
        biff = "BIFF8" if book is not None else "BIFF5/7"
        book = book or doc.get_named_stream("Book") or b""
        summary = doc.get_named_stream("\x05SummaryInformation")
    build = struct.unpack_from("<HH", book, 8) if len(book) >= 12 else None
    user = next((body for kind, body in biff_records(book, 0) if kind == 0x005C), b"")
    if summary is None and user.startswith(b"None"):
        app = "xlwt"
    elif build in GNUMERIC_BOF:
        app = "Gnumeric"
    else:
        app = summary_app_name(summary or b"").split("/")[0].strip() or (
            "LibreOffice" if summary is not None else "unknown")
    return f"{app} ({biff})"


def csv_writer(path):
    data = path.read_bytes()
    bom = data.startswith(b"\xef\xbb\xbf")
    return {UTF8: "UTF-8 with BOM" if bom else "UTF-8", GBK: "GBK", UTF16: "UTF-16"}[csv_charset(path)]


def writer_of(path):
    try:
        return {".xls": xls_writer, ".csv": csv_writer}.get(path.suffix.lower(), xlsx_writer)(path)
    except Exception:
        return "unreadable"


# ---------------------------------------------------------------- moque-cli's view

def cli_sheets(cli, path):
    """The sheets moque-cli prints, or None when it refuses the file."""
    def run(args):
        result = subprocess.run([cli, "sheet", str(path)] + args, capture_output=True, timeout=300)
        if result.returncode != 0:
            return None
        return [sheet_line_cells(line) for line in result.stdout.decode("utf-8").split("\n")[:-1]]

    names = run(["--sheet-names"])
    if names is None:
        return None
    sheets = []
    for n in range(1, len(names) + 1):
        rows = run(["--sheet", str(n)])
        if rows is None:
            return None
        sheets.append(rows)
    return sheets


# ---------------------------------------------------------------- comparing

@dataclass
class Tally:
    files: int = 0
    refused: int = 0
    compared: int = 0
    exact: int = 0


def compare_sheet(expected, got):
    """(compared, exact, [(ref, expected, got)])"""
    compared = exact = 0
    misses = []
    for r in range(max(len(expected), len(got))):
        e_row = expected[r] if r < len(expected) else []
        g_row = got[r] if r < len(got) else []
        for c in range(max(len(e_row), len(g_row))):
            e = e_row[c] if c < len(e_row) else ""
            g = g_row[c] if c < len(g_row) else ""
            if not e and not g:
                continue
            compared += 1
            if e == g:
                exact += 1
            else:
                misses.append((f"{column_name(c)}{r + 1}", e, g))
    return compared, exact, misses


def print_table(title, tallies):
    width = max([len(title)] + [len(key) for key in tallies])
    print(f"\n{title:<{width}} {'files':>6} {'refused':>8} {'cells':>9} {'exact':>9} {'percent':>8}")
    for key in sorted(tallies):
        t = tallies[key]
        percent = f"{100 * t.exact / t.compared:.1f}" if t.compared else "-"
        print(f"{key:<{width}} {t.files:>6} {t.refused:>8} {t.compared:>9} {t.exact:>9} {percent:>8}")


def quoted(text, limit=60):
    text = sheet_line([text])
    return text if len(text) <= limit else text[:limit] + "…"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("paths", nargs="+")
    parser.add_argument("--cli", help="the moque-cli to measure")
    parser.add_argument("--stored", action="store_true", help="compare with the stored .shown.tsv files")
    parser.add_argument("--store", action="store_true", help="write the .shown.tsv files, compare nothing")
    parser.add_argument("-v", "--verbose", action="store_true", help="list the differing cells")
    args = parser.parse_args()
    if not args.store and not args.cli:
        parser.error("--cli is needed to compare")
    files = spreadsheets(args.paths)

    with tempfile.TemporaryDirectory() as tmp:
        if args.stored:
            references = {p: [read_tsv(t) for t in stored_paths(p)] for p in files if stored_paths(p)}
        else:
            references = {}
            for path, sheets in libreoffice_sheets(files, Path(tmp)).items():
                try:
                    references[path] = excel_view(path, sheets)
                except Exception as e:
                    if args.store:
                        raise
                    # LibreOffice reads what the rules' own parsing cannot: no rule applies.
                    print(f"{path}: compared without the rules, its cells cannot be read ({e})",
                          file=sys.stderr)
                    references[path] = [normalized(rows) for rows in sheets]

    if args.store:
        for path, sheets in references.items():
            for old in stored_paths(path):
                old.unlink()
            for n, rows in enumerate(sheets, start=1):
                text = "".join(sheet_line(row) + "\n" for row in rows)
                path.with_name(f"{path.name}.sheet{n}.shown.tsv").write_text(text, encoding="utf-8")
        print(f"{len(references)} of {len(files)} files have references")
        return

    by_format, by_writer = defaultdict(Tally), defaultdict(Tally)
    unreferenced = [p for p in files if p not in references]
    for path in files:
        if path not in references:
            continue
        expected = references[path]
        got = cli_sheets(args.cli, path)
        fmt = path.suffix.lower()
        writer = f"{fmt} {writer_of(path)}"
        misses = []
        compared = exact = 0
        for index in range(max(len(expected), len(got or []))):
            c, e, m = compare_sheet(expected[index] if index < len(expected) else [],
                                    got[index] if got is not None and index < len(got) else [])
            compared += c
            exact += e
            misses += [(index + 1,) + miss for miss in m]
        for tally in (by_format[fmt], by_writer[writer]):
            tally.files += 1
            tally.refused += got is None
            tally.compared += compared
            tally.exact += exact
        if args.verbose:
            if got is None:
                print(f"{path}: refused by moque-cli")
            for sheet, ref, e, g in misses:
                print(f"{path}\tsheet {sheet}\t{ref}\texpected {quoted(e)}\tgot {quoted(g)}")
    print_table("format", by_format)
    print_table("writer", by_writer)
    if unreferenced:
        print(f"\n{len(unreferenced)} files without a reference (LibreOffice could not open them):")
        for path in unreferenced:
            print(f"  {path}")


if __name__ == "__main__":
    main()
