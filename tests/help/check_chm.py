#!/usr/bin/env python3
"""Reads the compiled zaDode.chm back with chmls and holds it against what the plug-in
registers (nbhost --catalogue): a topic anchor per action and for "about" and "thirdparty",
the contents tree = the categories with their actions in registration order, an index entry
per action.

usage: check_chm.py CHM -- NBHOST-COMMAND...   (run under LC_ALL=ru_RU.UTF-8)
"""
import re
import subprocess
import sys
import tempfile
from pathlib import Path


def catalogue(command):
    out = subprocess.run(command, check=True, capture_output=True).stdout.decode("utf-8")
    tree = []
    for line in out.replace("\r", "").splitlines():
        if m := re.fullmatch(r"\[(.*)\]", line):
            tree.append((m.group(1), []))
        elif m := re.match(r"(\d+)\t(kx\w+)\t", line):
            tree[-1][1].append(m.group(2))
    return tree


def extract(chm, name, folder):
    target = Path(folder) / name
    subprocess.run(["chmls", "extract", chm, "/" + name, str(target)], check=True,
                   capture_output=True)
    return target.read_bytes().decode("cp1251")


def sitemap(text):
    """(name, local, depth) of every entry of a .hhc/.hhk."""
    entries, depth = [], 0
    for m in re.finditer(r'(<UL>)|(</UL>)|<param name="Name" value="([^"]*)">\s*'
                         r'<param name="Local" value="([^"]*)">', text, re.I):
        if m.group(1):
            depth += 1
        elif m.group(2):
            depth -= 1
        else:
            entries.append((m.group(3), m.group(4), depth))
    return entries


def main():
    chm, command = sys.argv[1], sys.argv[sys.argv.index("--") + 1:]
    tree = catalogue(command)
    names = [n for _, actions in tree for n in actions]
    failures = []
    if len(tree) != 12 or len(names) != 95:
        failures.append(f"nbhost listed {len(tree)} categories and {len(names)} actions")
    with tempfile.TemporaryDirectory() as folder:
        page = extract(chm, "index.html", folder)
        contents = sitemap(extract(chm, "zaDode.hhc", folder))
        keywords = sitemap(extract(chm, "zaDode.hhk", folder))
    anchors = re.findall(r'<a name="([^"]+)"', page)
    for wanted in names + ["about", "thirdparty"]:
        if anchors.count(wanted) != 1:
            failures.append(f"index.html has {anchors.count(wanted)} anchors '{wanted}'")
    # The contents: about, the categories as folders holding their actions, thirdparty.
    shown = [(name, local) for name, local, depth in contents if depth == 2]
    folders = [name for name, _, depth in contents if depth == 1][1:-1]
    if folders != [title for title, _ in tree]:
        failures.append(f"contents folders {folders}, catalogue {[t for t, _ in tree]}")
    if shown != [(n, "index.html#" + n) for n in names]:
        failures.append("contents entries differ from the catalogue's actions")
    for name, local, _ in contents:
        if local.split("#")[1] not in anchors:
            failures.append(f"contents entry {name} points to a missing anchor {local}")
    if sorted(n for n, _, _ in keywords) != sorted(names):
        failures.append("the index does not list exactly the action names")
    print("\n".join(failures) or f"{len(names)} actions, {len(tree)} categories: help agrees")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
