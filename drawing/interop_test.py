#!/usr/bin/python3
"""The drawing engine seen from outside: drawings made by an independent DXF library
(ezdxf) in every version, ASCII and binary, GBK and UTF-8, go through
`tolvane-cli batch`; every file the engine writes must load in ezdxf without audit
errors and hold what the run put in it. The real drawings of testdata/real go through
purge and audit: every layout keeps its entities, no reference is left pointing
nowhere, and a clean drawing comes out of audit byte for byte as it went in.

usage: interop_test.py PATH-TO-tolvane-cli
"""
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf.lldxf.tagger import ascii_tags_loader, binary_tags_loader

CLI = sys.argv[1]
VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def unescape(text):
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)


def make_drawing(path, version, fmt="asc", gbk=False):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    doc.layers.add("USED")
    doc.layers.add("UNUSED")
    doc.styles.add("UNUSEDSTYLE", font="arial.ttf")
    title = doc.blocks.new("TITLE")
    title.add_line((0, 0), (180, 0))
    for y, tag in enumerate(["DRAWNO", "REV", "NAME"]):
        title.add_attdef(tag, (0, 5 * y))
    doc.blocks.new("U3").add_circle((0, 0), 1)
    doc.blocks.new("U2").add_blockref("U3", (0, 0))
    doc.blocks.new("U1").add_blockref("U2", (0, 0))
    doc.blocks.new("USEDBLK").add_line((0, 0), (1, 1))
    msp.add_line((0, 0), (10, 10), dxfattribs={"layer": "USED"})
    msp.add_text("中文文字", dxfattribs={"layer": "USED"})
    msp.add_blockref("USEDBLK", (5, 5))
    msp.add_blockref("TITLE", (0, 0)).add_auto_attribs({"DRAWNO": "A100", "REV": "B", "NAME": "标题栏"})
    if fmt == "bin":
        doc.saveas(path, fmt="bin")
        return
    doc.saveas(path)
    if gbk:
        # A drawing of a Chinese AutoCAD: code page 936, the characters stored in GBK.
        with open(path, encoding="cp1252", newline="") as f:
            text = f.read()
        text = text.replace("$DWGCODEPAGE\n  3\nANSI_1252", "$DWGCODEPAGE\n  3\nANSI_936")
        with open(path, "w", encoding="gbk", newline="") as f:
            f.write(unescape(text))


def batch(*args):
    result = subprocess.run([CLI, "batch", *args], capture_output=True, text=True)
    check(result.returncode == 0, f"batch {args}: exit {result.returncode} {result.stderr}")
    return result.stdout.splitlines()


def read_clean(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(not auditor.errors, f"{path}: ezdxf audit errors {[e.message for e in auditor.errors]}")
    return doc


def title_values(doc):
    refs = [e for e in doc.modelspace() if e.dxftype() == "INSERT" and e.dxf.name == "TITLE"]
    return {a.dxf.tag: unescape(a.dxf.text) for a in refs[0].attribs}


def round_trips_and_edits(work):
    cases = [(v, f, False) for v in VERSIONS for f in ("asc", "bin")]
    cases += [(v, "asc", True) for v in ("R12", "R2000", "R2004")]
    for version, fmt, gbk in cases:
        name = f"{version}_{fmt}{'_gbk' if gbk else ''}"
        folder = os.path.join(work, name)
        os.makedirs(folder)
        original = os.path.join(folder, "original.dxf")
        make_drawing(original, version, fmt, gbk)
        with open(original, "rb") as f:
            original_bytes = f.read()
        log = os.path.join(folder, "errlog.txt")

        # Audit of a sound drawing: nothing to fix, the file written back unchanged.
        same = os.path.join(folder, "same.dxf")
        shutil.copy(original, same)
        out = batch("--audit", "--log", log, same)
        check(f"saved={same}" in out, f"{name}: audit run did not save: {out}")
        with open(same, "rb") as f:
            check(f.read() == original_bytes, f"{name}: open and save changed the bytes")

        # Purge, audit and attribute edit, as an engineer runs it.
        edited = os.path.join(folder, "a.dxf")
        shutil.copy(original, edited)
        out = batch("--purge", "--audit", "--block", "TITLE", "--set", "DRAWNO=A101", "--set", "NAME=新名称",
                    "--log", log, edited)
        check(out[-1] == "done=1" and not any(l.startswith("error=") for l in out), f"{name}: {out}")
        doc = read_clean(edited)
        values = title_values(doc)
        check(values == {"DRAWNO": "A101", "REV": "B", "NAME": "新名称"}, f"{name}: attributes {values}")
        blocks = {b.name for b in doc.blocks if not b.name.startswith("*") and not b.name.startswith("$")}
        check(blocks == {"TITLE", "USEDBLK"}, f"{name}: blocks after purge {blocks}")
        layers = {l.dxf.name for l in doc.layers}
        check("UNUSED" not in layers and "USED" in layers and "0" in layers, f"{name}: layers {layers}")
        if gbk:
            with open(edited, "rb") as f:
                check("新名称".encode("gbk") in f.read(), f"{name}: value not stored in GBK")

        # The file-name change: a copy beside the drawing, never over an existing file.
        named = os.path.join(folder, "b.dxf")
        shutil.copy(original, named)
        args = ["--block", "TITLE", "--name", "tag:DRAWNO", "--name", "const:-", "--name", "tag:REV", "--log", log]
        out = batch(*args, named)
        copy = os.path.join(folder, "A100-B.dxf")
        check(out.count(f"saved={copy}") == 1 and os.path.exists(copy), f"{name}: copy not reported once: {out}")
        read_clean(copy)
        with open(named, "rb") as f:
            check(f.read() == original_bytes, f"{name}: the drawing's own file changed")
        out = batch("--purge", "--set", "NAME=改", *args, named)
        check(any(l.startswith(f"error={named}|目标文件已存在") for l in out), f"{name}: second copy {out}")
        with open(named, "rb") as f:
            check(f.read() == original_bytes, f"{name}: a refused copy changed the drawing's own file")


def broken_drawings(work):
    source = os.path.join(work, "sound.dxf")
    make_drawing(source, "R2000")
    with open(source, encoding="cp1252", newline="") as f:
        text = f.read()
    line_handle = re.search(r"\n  0\nLINE\n  5\n([0-9A-F]+)\n", text).group(1)
    text_handle = re.search(r"\n  0\nTEXT\n  5\n([0-9A-F]+)\n", text).group(1)
    faults = {
        "no_seqend": lambda t: re.sub(r"\n  0\nSEQEND\n(?:(?!\n  0\n).)*", "", t, count=1, flags=re.S),
        "duplicate_handle": lambda t: t.replace(f"\n  0\nTEXT\n  5\n{text_handle}\n", f"\n  0\nTEXT\n  5\n{line_handle}\n"),
        "undefined_block": lambda t: t.replace("\n  2\nUSEDBLK\n 10\n5.0", "\n  2\nNOBLOCK\n 10\n5.0"),
        "low_handseed": lambda t: re.sub(r"\$HANDSEED\n  5\n[0-9A-F]+", "$HANDSEED\n  5\n1", t),
    }
    for name, fault in faults.items():
        path = os.path.join(work, f"broken_{name}.dxf")
        broken = fault(text)
        check(broken != text, f"{name}: the fault was not made")
        with open(path, "w", encoding="cp1252", newline="") as f:
            f.write(broken)
        out = batch("--audit", "--log", os.path.join(work, "log.txt"), path)
        check(f"saved={path}" in out, f"{name}: {out}")
        read_clean(path)


def bad_inputs(work):
    files = {"empty.dxf": b"", "drawing.dwg": b"AC1015\x00\x00\x00\x00\x06", "notes.dxf": b"meeting notes\n"}
    paths = []
    for name, data in files.items():
        paths.append(os.path.join(work, name))
        with open(paths[-1], "wb") as f:
            f.write(data)
    good = os.path.join(work, "good.dxf")
    make_drawing(good, "R2018")
    paths.insert(1, os.path.join(work, "missing.dxf"))
    paths.append(good)
    log = os.path.join(work, "errlog.txt")
    out = batch("--purge", "--audit", "--block", "TITLE", "--set", "DRAWNO=A101", "--log", log, *paths)
    errors = [l for l in out if l.startswith("error=")]
    expected = ["文件是空的", "无法读取文件", "DWG文件不完整", "不是DXF图形文件"]
    check(len(errors) == 4, f"bad inputs: {out}")
    for line, reason in zip(errors, expected):
        check(line.split("|", 1)[1].startswith(reason), f"bad input reason: {line}")
    check(f"saved={good}" in out and out[-1] == f"done={len(paths)}", f"the run did not go on: {out}")
    with open(log, "rb") as f:
        lines = f.read().decode("utf-8").split("\r\n")
    check(len(lines) == 4 * 5 + 1 and lines[0] == "*" * 81 and lines[1] == "打开文件出错:" + paths[0]
          and lines[2] == "文件是空的" and lines[4] == "*" * 81, f"error log: {lines[:5]}")
    read_clean(good)


def unsafe_names(work):
    path = os.path.join(work, "unsafe.dxf")
    make_drawing(path, "R2010")
    log = os.path.join(work, "errlog.txt")
    out = batch("--block", "TITLE", "--set", "DRAWNO=../../x", "--set", "REV=NULL", "--name", "tag:DRAWNO",
                "--name", "tag:REV", "--log", log, path)
    check(f"saved={os.path.join(work, '____x.dxf')}" in out, f"unsafe name: {out}")
    check(not os.path.exists(os.path.join(os.path.dirname(os.path.dirname(work)), "x.dxf")), "escaped the folder")
    out = batch("--block", "TITLE", "--set", "DRAWNO=null", "--set", "REV=null", "--name", "tag:DRAWNO", "--name", "tag:REV",
                "--log", log, path)
    check(any(l.startswith(f"error={path}|文件名为空") for l in out), f"empty name: {out}")


def unwritable_log(work):
    # A log that cannot be written (its folder is a file): the error still shows, the run
    # goes on, and the command ends with exit 1 naming the log.
    good = os.path.join(work, "good.dxf")
    make_drawing(good, "R2000")
    blocker = os.path.join(work, "blocker")
    with open(blocker, "w") as f:
        f.write("a file, not a folder")
    log = os.path.join(blocker, "errlog.txt")
    missing = os.path.join(work, "missing.dxf")
    result = subprocess.run([CLI, "batch", "--purge", "--log", log, missing, good], capture_output=True, text=True)
    out = result.stdout.splitlines()
    check(result.returncode == 1 and log in result.stderr, f"unwritable log: exit {result.returncode} {result.stderr}")
    check(any(l.startswith(f"error={missing}|") for l in out) and f"saved={good}" in out and out[-1] == "done=2",
          f"unwritable log: {out}")


REAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "testdata", "real")
POINTERS = set(range(330, 370)) | set(range(390, 400)) | {480, 481}
NAMED_BLOCK = {"INSERT", "DIMENSION", "ARC_DIMENSION", "LARGE_RADIAL_DIMENSION", "ACAD_TABLE"}


def raw_records(path):
    """The records of a file as (type, [(code, value)]), read by ezdxf's low-level tagger."""
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"AutoCAD Binary DXF"):
        tags = binary_tags_loader(data, errors="ignore")
    else:
        tags = ascii_tags_loader(io.StringIO(data.decode("latin-1")), skip_comments=True)
    records = []
    for tag in tags:
        if tag.code == 0:
            records.append((tag.value.strip().upper(), []))
        elif records:
            value = tag.value.strip() if isinstance(tag.value, str) else tag.value
            records[-1][1].append((tag.code, value))
    return records


def faults(path):
    """What an independent look at the groups finds wrong: pointers to no record
    (reactor lists aside), handles used twice, entities on layers, linetypes or text
    styles that are not defined, colour numbers that are none, and blocks named by
    entities but not defined."""
    records = raw_records(path)
    handles, found, pointers = set(), [], []
    defined = {"LAYER": set(), "LTYPE": {"BYLAYER", "BYBLOCK"}, "STYLE": set(), "BLOCK": set()}
    section = None
    for typ, groups in records:
        values = dict(groups)
        if typ == "SECTION":
            section = values.get(2)
        code = 105 if typ == "DIMSTYLE" else 5
        handle = next((v for c, v in groups if c == code), None)  # the first: later ones are data
        if section != "HEADER" and typ not in ("SECTION", "ENDSEC", "EOF") and handle:
            if int(handle, 16) in handles:
                found.append(f"handle {handle} twice")
            handles.add(int(handle, 16))
        if section == "TABLES" and typ in defined and 2 in values:
            defined[typ].add(values[2].upper())
        if typ == "BLOCK" and 2 in values:
            defined["BLOCK"].add(values[2].upper())
        reactors = xdata = False
        for code, value in groups:
            if code == 1001:
                xdata = True
            if code == 102 and not xdata:
                reactors = value.startswith("{ACAD_REACTORS") or (reactors and value != "}")
            elif (code in POINTERS and not xdata and not reactors) or (xdata and code == 1005):
                pointers.append((typ, code, value))
    for typ, code, value in pointers:
        try:
            target = int(value, 16)
        except ValueError:
            continue  # not a handle: nothing it could point at
        if target and target not in handles:
            found.append(f"{typ} {code} {value} points nowhere")
    tables = {t: any(typ == "TABLE" and dict(g).get(2) == t for typ, g in records) for t in defined}
    section = None
    for typ, groups in records:
        values = dict(groups)
        if typ == "SECTION":
            section = values.get(2)
        if section not in ("ENTITIES", "BLOCKS") or typ in ("BLOCK", "ENDBLK", "SECTION", "ENDSEC"):
            continue
        for code, table in ((8, "LAYER"), (6, "LTYPE"), (7, "STYLE")):
            # A drawing without the table (a minimal R12 file) has nowhere to define them.
            if code in values and tables[table] and values[code].upper() not in defined[table]:
                found.append(f"{typ} names {table} {values[code]}")
        if typ in NAMED_BLOCK and 2 in values and values[2].upper() not in defined["BLOCK"]:
            found.append(f"{typ} names block {values[2]}")
        if 62 in values and not 0 <= int(values[62]) <= 257:
            found.append(f"{typ} colour {values[62]}")
    return found


def layout_counts(path):
    doc = ezdxf.readfile(path)
    return {layout.name: len(layout) for layout in doc.layouts}, len(doc.audit().errors)


def real_drawings(work):
    names = sorted(n for n in os.listdir(REAL) if n.lower().endswith(".dxf"))
    check(len(names) >= 20, f"only {len(names)} real drawings")
    for name in names:
        source = os.path.join(REAL, name)
        with open(source, "rb") as f:
            original = f.read()
        counts, errors = layout_counts(source)
        before = faults(source)
        log = os.path.join(work, "errlog.txt")

        audited = os.path.join(work, name)
        shutil.copy(source, audited)
        batch("--audit", "--log", log, audited)
        with open(audited, "rb") as f:
            same = f.read() == original
        if not before and not errors:
            check(same, f"{name}: audit changed a clean drawing")
        check(not faults(audited), f"{name}: audit left {faults(audited)[:3]}")

        purged = os.path.join(work, "purged_" + name)
        shutil.copy(source, purged)
        batch("--purge", "--audit", "--log", log, purged)
        after, errors_after = layout_counts(purged)
        check(after == counts, f"{name}: entities per layout {counts} became {after}")
        check(errors_after <= errors, f"{name}: ezdxf audit errors {errors} became {errors_after}")
        check(not faults(purged), f"{name}: purge and audit left {faults(purged)[:3]}")


def main():
    with tempfile.TemporaryDirectory() as work:
        for part in (round_trips_and_edits, broken_drawings, bad_inputs, unsafe_names, unwritable_log,
                     real_drawings):
            folder = os.path.join(work, part.__name__)
            os.makedirs(folder)
            part(folder)
    if failures:
        print(f"{len(failures)} failures")
        sys.exit(1)
    print("all interoperability checks passed")


main()
