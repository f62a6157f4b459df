#!/usr/bin/env python3
"""Checks the translation files in translations/: every translation (orvalis_LANG.ts) has no
unfinished, obsolete or vanished entry, and no file lacks a text of the sources or keeps one
they no longer have. For the second part lupdate runs, the way the build runs it, over
copies of the files, which are then compared with the files themselves.

    check-translations.py LUPDATE SOURCE_LIST INCLUDE_DIR TS_FILE...

SOURCE_LIST names one source per line (the build writes it). Prints what is wrong; exit code
1 when anything is."""
import pathlib
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def entries(path):
    """(context, source, comment) -> translation type, of every message of a .ts file."""
    found = {}
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            key = (name, message.findtext("source", ""), message.findtext("comment", ""))
            translation = message.find("translation")
            found[key] = translation.get("type", "") if translation is not None else ""
    return found


def main(argv):
    if len(argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    lupdate, source_list, include = argv[1], argv[2], argv[3]
    ts_files = [pathlib.Path(ts) for ts in argv[4:]]
    problems = []

    for ts in ts_files:
        if ts.name == "orvalis.ts":
            continue  # the template: all of it is for a translator to fill in
        for (context, source, _), kind in entries(ts).items():
            if kind in ("unfinished", "obsolete", "vanished"):
                problems.append(f"{ts.name}: {kind}: [{context}] {source!r}")

    with tempfile.TemporaryDirectory() as tmp:
        copies = []
        for ts in ts_files:
            copy = pathlib.Path(tmp) / ts.name
            shutil.copyfile(ts, copy)
            copies.append(copy)
        run = subprocess.run(
            [lupdate, "-silent", "-locations", "none", "-no-obsolete", "-I", include,
             "@" + source_list, "-ts", *map(str, copies)],
            capture_output=True, text=True)
        if run.returncode != 0:
            problems.append(f"lupdate failed: {run.stderr.strip()}")
        else:
            for ts, copy in zip(ts_files, copies):
                before, after = entries(ts), entries(copy)
                for context, source, _ in sorted(after.keys() - before.keys()):
                    problems.append(f"{ts.name}: missing: [{context}] {source!r}")
                for context, source, _ in sorted(before.keys() - after.keys()):
                    problems.append(f"{ts.name}: no longer in the sources: [{context}] {source!r}")

    for problem in problems:
        print(problem)
    if problems:
        print("Run lupdate as src/translations.cmake does and translate what is unfinished.")
        return 1
    print(f"check-translations: {len(ts_files)} files complete and up to date")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
