#!/usr/bin/python3
"""DWG drawings through tolvane-cli, checked from outside with ezdxf: every DWG of
testdata converts into DXF that ezdxf reads without audit errors; the batch's purge,
audit, attribute edit and copies named from attributes work on a DWG, write DXF beside
it (never over an existing file) and leave the DWG byte for byte as it was; the PDF
plotted from a DWG is the PDF plotted from its DXF twin (title aside); info and convert
say what they read; DWG of R12 and before is refused with its version.

usage: interop_test.py PATH-TO-tolvane-cli TESTDATA-FOLDER
"""
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

import ezdxf

CLI, TESTDATA = sys.argv[1], sys.argv[2]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def run(*args, code=0):
    result = subprocess.run([CLI, *args], capture_output=True, text=True)
    check(result.returncode == code, f"{args}: exit {result.returncode}, expected {code}: {result.stderr}")
    return result.stdout.splitlines(), result.stderr


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def read_clean(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(not auditor.errors, f"{path}: ezdxf audit errors {[e.message for e in auditor.errors][:5]}")
    return doc


def attribute(doc, block, tag):
    for insert in doc.modelspace().query("INSERT"):
        if insert.dxf.name == block:
            for a in insert.attribs:
                if a.dxf.tag == tag:
                    return a.dxf.text
    return None


def converts_every_drawing(work):
    for dwg in sorted(glob.glob(os.path.join(TESTDATA, "*.dwg"))):
        name = os.path.basename(dwg)
        out_path = os.path.join(work, name + ".dxf")
        out, _ = run("convert", dwg, out_path)
        check(out[-1] == f"saved={out_path}", f"{name}: convert said {out[-1:]}")
        check(all(line.startswith(f"note={dwg}|") for line in out[:-1]), f"{name}: {out[:3]}")
        doc = read_clean(out_path)
        version = open(dwg, "rb").read(6).decode("ascii")
        check(doc.dxfversion == version or version == "AC1014", f"{name}: DXF {doc.dxfversion}")
        check(len(doc.modelspace()) > 0, f"{name}: no entities")
        info, _ = run("info", dwg)
        check(info[0] == f"version={version}" and info[1] == "codepage=ANSI_1252", f"{name}: {info[:2]}")
        # The samples all hold the same drawing, saved in each version.
        if name.startswith("ACadSharp_sample_"):
            check(len(doc.modelspace()) > 100, f"{name}: {len(doc.modelspace())} entities")
            check("entities=Model|LINE|26" in info, f"{name}: info {info[2:6]}")
        # convert never replaces its target.
        _, err = run("convert", dwg, out_path, code=1)
        check("目标文件已存在" in err, f"{name}: second convert: {err}")


def batch_on_a_dwg(work):
    for version in ("AC1015", "AC1032"):
        folder = os.path.join(work, version)
        os.makedirs(folder)
        dwg = os.path.join(folder, "sample.dwg")
        shutil.copy(os.path.join(TESTDATA, f"ACadSharp_sample_{version}.dwg"), dwg)
        before = digest(dwg)
        log = os.path.join(folder, "log.txt")
        out, _ = run("batch", "--purge", "--audit", "--block", "MyBlock", "--set", "ATTINFO=99",
                     "--log", log, dwg)
        saved = os.path.join(folder, "sample.dxf")
        check(f"saved={saved}" in out and out[-1] == "done=1", f"{version}: {out[-3:]}")
        check(any(line.startswith(f"note={dwg}|") for line in out), f"{version}: no note lines")
        check(not any(line.startswith("error=") for line in out), f"{version}: {out}")
        check(digest(dwg) == before, f"{version}: the DWG changed")
        check(attribute(read_clean(saved), "MyBlock", "ATTINFO") == "99", f"{version}: value not written")
        # A second run finds its DXF there and writes nothing.
        kept = digest(saved)
        out, _ = run("batch", "--audit", "--log", log, dwg)
        check(any(line.startswith(f"error={saved}|目标文件已存在") for line in out), f"{version}: {out}")
        check(digest(saved) == kept and digest(dwg) == before, f"{version}: a file was written over")
        # A copy named from an attribute is DXF.
        out, _ = run("batch", "--block", "MyBlock", "--name", "const:copy-", "--name", "tag:ATTINFO",
                     "--log", log, dwg)
        copy = os.path.join(folder, "copy-17.dxf")
        check(f"saved={copy}" in out and os.path.exists(copy), f"{version}: copy {out[-3:]}")
        read_clean(copy)
        check(digest(dwg) == before, f"{version}: the DWG changed with the copy")
        with open(log, encoding="utf-8") as f:
            check("未转换" in f.read(), f"{version}: notes not in the error log")


def dxf_pairs(path):
    lines = open(path, "rb").read().decode("latin-1").replace("\r\n", "\n").split("\n")
    return lines, [(lines[i].strip(), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]


def remade_blocks(twin, seed):
    """The names of the blocks the later save made anew (their BLOCK from the DWG's seed
    on): an anonymous block drawn for a table cell, say, under the name the DWG gives an
    older copy."""
    _, pairs = dxf_pairs(twin)
    names = set()
    for i, (code, value) in enumerate(pairs):
        if (code, value) != ("0", "BLOCK"):
            continue
        fields = {}
        for c, v in pairs[i + 1:]:
            if c == "0":
                break
            fields.setdefault(c, v)
        if int(fields.get("5", "0"), 16) >= seed:
            names.add(fields.get("2"))
    return names


def without(twin, kinds, seed, target, blocks=frozenset()):
    """The twin without the entities of `kinds`, those made after the DWG was saved
    (handles from the DWG's seed on) and those of `blocks`."""
    lines, _ = dxf_pairs(twin)
    out, section, skip, block, named = [], None, False, None, True
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1]
        if code == "2" and not named:
            block, named = value, True
        if code == "0":
            named = value != "BLOCK"
            skip = section in ("ENTITIES", "BLOCKS") and value in kinds
            if value in ("BLOCK", "ENDBLK"):
                block = None
            skip = skip or (section == "BLOCKS" and block in blocks)
            if not skip and section in ("ENTITIES", "BLOCKS") and value not in ("BLOCK", "ENDBLK", "ENDSEC"):
                for j in range(i + 2, len(lines) - 1, 2):
                    if lines[j].strip() == "0":
                        break
                    if lines[j].strip() == "5":
                        skip = int(lines[j + 1], 16) >= seed
                        break
        if code == "2" and out and out[-1] == "SECTION":
            section = value
        if not skip:
            out += [lines[i], value]
    with open(target, "wb") as f:
        f.write("\n".join(out).encode("latin-1") + b"\n")


def pdf_body(path):
    with open(path, "rb") as f:
        return re.sub(rb"/Title <[0-9A-F]*>", b"", f.read())


def plots_equal_the_twins(work):
    """The plot of a DWG is the plot of its twin, once the twin lacks what the reader
    names as not translated. Both files are named drawing.* so that the PDFs differ at
    most in the title's last letters."""
    for twin in sorted(glob.glob(os.path.join(TESTDATA, "*_ascii.dxf"))):
        name = os.path.basename(twin)[: -len("_ascii.dxf")]
        folder = os.path.join(work, "plot_" + name)
        for sub in ("dwg", "twin"):
            os.makedirs(os.path.join(folder, sub))
        dwg = os.path.join(folder, "dwg", "drawing.dwg")
        shutil.copy(os.path.join(TESTDATA, name + ".dwg"), dwg)
        info, _ = run("info", dwg)
        kinds = {line.split(" ", 1)[1].split("：")[0] for line in info if "未转换的图元" in line}
        # What was kept only as its proxy graphics is drawn from them, not as its kind:
        # left out of both plots too.
        proxies = {line.split(" ", 1)[1].split("：")[0] for line in info if "以代理图元转换的" in line}
        kinds |= proxies | ({"ACAD_PROXY_ENTITY"} if proxies else set())
        # An image's frame drawn from the DWG's exact doubles and from the twin's texts of
        # 15 digits may round to neighbouring hundredths of a point: images are compared
        # as entities above, and left out of both plots here.
        kinds.add("IMAGE")
        converted = os.path.join(folder, "converted.dxf")
        run("convert", dwg, converted)
        header = ezdxf.readfile(converted).header
        filtered = os.path.join(folder, "twin", "drawing.dxf")
        without(twin, kinds, int(header["$HANDSEED"], 16), filtered)
        os.makedirs(os.path.join(folder, "read"))
        read = os.path.join(folder, "read", "drawing.dxf")
        without(converted, kinds, 1 << 64, read,
                remade_blocks(twin, int(header["$HANDSEED"], 16)))
        out, _ = run("batch", "--plot", "PDF", "--style", "monochrome.ctb", "--paper", "A4",
                     "--log", os.path.join(folder, "log.txt"), dwg, read, filtered)
        plotted, ours, theirs = (os.path.join(folder, sub, "drawing.pdf")
                                 for sub in ("dwg", "read", "twin"))
        check(f"plotted={dwg}|{plotted}" in out and f"plotted={filtered}|{theirs}" in out,
              f"{name}: {out[-3:]}")
        check(pdf_body(ours) == pdf_body(theirs),
              f"{name}: the plot of what the DWG holds differs from the plot of its twin")


def old_versions(work):
    path = os.path.join(work, "old.dwg")
    with open(path, "wb") as f:
        f.write(b"AC1009" + bytes(200))
    _, err = run("info", path, code=1)
    check("R12" in err and "AC1009" in err, f"R12: {err}")


def main():
    with tempfile.TemporaryDirectory() as work:
        converts_every_drawing(work)
        batch_on_a_dwg(work)
        plots_equal_the_twins(work)
        old_versions(work)
    if failures:
        print(f"{len(failures)} failure(s)")
        return 1
    print("dwg interop: all good")
    return 0


if __name__ == "__main__":
    sys.exit(main())
