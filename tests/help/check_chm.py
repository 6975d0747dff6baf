#!/usr/bin/env python3
"""Reads the compiled zaDode.chm back with chmls and holds it against what the plug-in
registers (nbhost --catalogue): a topic anchor per action and for "about" and "thirdparty",
each action's topic with its registered hint and parameter kinds, the contents tree = the
categories with their actions in registration order, an index entry per action; pages in
windows-1251.

usage: check_chm.py CHM -- NBHOST-COMMAND...   (run under LC_ALL=ru_RU.UTF-8)
"""
import html
import re
import subprocess
import sys
import tempfile
from pathlib import Path


KINDS = {"текст": "1", "число": "3", "переменная": "6"}


def catalogue(command):
    """[(category, [name])] and {name: (kinds, hint)} as nbhost lists them."""
    out = subprocess.run(command, check=True, capture_output=True).stdout.decode("utf-8")
    tree, rows = [], {}
    for line in out.replace("\r", "").splitlines():
        if m := re.fullmatch(r"\[(.*)\]", line):
            tree.append((m.group(1), []))
        elif m := re.fullmatch(r"(\d+)\t(kx\w+)\t([\d ]+|-)\t(.*)", line):
            tree[-1][1].append(m.group(2))
            rows[m.group(2)] = (m.group(3).replace("-", "").split(), m.group(4))
    return tree, rows


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
    tree, rows = catalogue(command)
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
    if 'charset=windows-1251' not in page:
        failures.append("index.html does not declare windows-1251")
    for name in names:
        topic = page.split(f'<a name="{name}">')[-1].split("<a name=")[0]
        kinds, hint = rows[name]
        shown = [KINDS.get(k, k) for k in re.findall(r"<tr><td>\d+</td><td>([^<]*)</td>", topic)]
        if shown != kinds:
            failures.append(f"{name}: parameter kinds {shown}, registered {kinds}")
        if html.escape(hint).replace("\\n", "<br>") not in topic:
            failures.append(f"{name}: the registered hint is not in its topic")
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
