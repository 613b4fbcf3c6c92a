#!/usr/bin/env python3
"""Keeps the layering: a file of a library folder may include headers of its own
folder and of the folders below it that it builds on (layers.txt), never of a higher
layer or of a layer beside it. A folder's internal/ headers are its own alone, and
only platform/ includes SDL. tests/, bench/, fuzz/ and tools/ may include anything.

Usage: scripts/check-layers.py [source-root]   (exit status 1 on any violation)
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def read_layers():
    """Returns the folders lowest first and, per folder, the folders it may use."""
    order, reach = [], {}
    for line in (root / "layers.txt").read_text().splitlines():
        fields = line.split("#", 1)[0].split()
        if not fields:
            continue
        folder, below = fields[0], fields[2:]
        allowed = {folder}
        for b in below:
            if b not in reach:
                sys.exit(f"layers.txt: {folder} builds on {b}, which is not listed above it")
            allowed |= reach[b]
        order.append(folder)
        reach[folder] = allowed
    return order, reach


def layer_of(path, folders):
    """The layer folder that holds path (the longest matching folder), or None."""
    best = None
    for folder in folders:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def main():
    order, reach = read_layers()
    problems = []
    checked = 0
    for folder in order:
        for file in sorted((root / folder).rglob("*")):
            if file.suffix not in (".h", ".cpp") or not file.is_file():
                continue
            rel = file.relative_to(root).as_posix()
            if layer_of(rel, order) != folder:
                continue  # a deeper layer folder checks its own files
            checked += 1
            for number, line in enumerate(file.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                kind, header = match.groups()
                where = f"{rel}:{number}"
                if kind == "<":
                    if header.startswith("SDL") and folder != "platform":
                        problems.append(f"{where}: includes <{header}>; only platform/ uses SDL")
                    continue
                target = layer_of(header, order)
                if target is None:
                    problems.append(f'{where}: "{header}" is in no layer of layers.txt')
                elif target not in reach[folder]:
                    higher = order.index(target) > order.index(folder)
                    why = "a higher layer" if higher else "a layer it does not build on"
                    problems.append(f'{where}: "{header}" belongs to {target}, {why}')
                elif "/internal/" in header and target != folder:
                    problems.append(f'{where}: "{header}" is internal to {target}')
    for p in problems:
        print(p)
    print(f"check-layers: {checked} files in {len(order)} layers, {len(problems)} violations")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
