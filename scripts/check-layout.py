#!/usr/bin/env python3
"""Checks the folder rule of src/ (docs/architecture.md): the logic library never includes a
window, a feature never includes another feature's windows (only app/ may), and the folders
include each other without loops. Prints what breaks the rule; exit code 1 when anything does."""
import collections
import pathlib
import re
import sys

src = pathlib.Path(__file__).resolve().parent.parent / "src"
include = re.compile(r'^#include "([^"]+)"', re.M)


def is_gui(path):
    return "gui" in path.split("/")[:-1]


def feature(path):
    return path.split("/")[0] if "/" in path else "."


problems = []
edges = collections.defaultdict(set)
for file in sorted(src.rglob("*")):
    if file.suffix not in (".cpp", ".h"):
        continue
    rel = file.relative_to(src).as_posix()
    for target in include.findall(file.read_text(encoding="utf-8")):
        if not (src / target).exists():
            continue
        here, there = rel.rsplit("/", 1)[0] if "/" in rel else ".", target.rsplit("/", 1)[0]
        if here != there:
            edges[here].add(there)
        lib_ok = rel.startswith(("cli/", "sound/module/")) or rel == "main.cpp"
        if is_gui(target) and not is_gui(rel) and not lib_ok:
            problems.append(f"{rel}: the logic library includes a window, {target}")
        if (is_gui(target) and feature(target) not in ("gui", feature(rel))
                and feature(rel) not in ("app", ".")):
            problems.append(f"{rel}: includes another feature's window, {target}")

# A loop between folders: depth-first search over the folder graph.
state = {}


def visit(node, path):
    state[node] = "open"
    for nxt in sorted(edges.get(node, ())):
        if state.get(nxt) == "open":
            problems.append("folders include each other in a loop: "
                            + " -> ".join(path[path.index(nxt):] + [nxt]))
        elif nxt not in state:
            visit(nxt, path + [nxt])
    state[node] = "done"


for node in sorted(edges):
    if node not in state:
        visit(node, [node])

for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
