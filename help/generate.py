#!/usr/bin/env python3
"""Builds the sources of zaDode.chm from the plug-in's own tables.

Names, hints, categories and parameter kinds come from the catalogue (src/core/catalogue.cpp)
and the string table (src/resources/strings.rc, resource.h), so the help lists exactly what
the plug-in registers. The prose comes from help/topics: one file per category, NN-*.txt with
NN the category number, then general.txt for the "about" and "thirdparty" topics.

A category file starts with the category's introduction (HTML), then one block per action in
catalogue order:

    == kxName
    p: one line per parameter, as many as the catalogue gives the action
    result: what the action writes
    error: a text it can put into LastError (any number of lines)
    example: a script line that runs in nbhost and answers true
    example-false: a script line that runs and may answer false
    example-skip: a script line shown but not run (dialogs, power, the machine's state)
    note: a further paragraph

In any text, {IDS_NAME} or {IDS_NAME:arg:arg} stands for that string-table text with its
%s/%d filled from the arguments (the action's own name when IDS_INVALID_ARGUMENTS has none).

Writes index.html, zaDode.hhc, zaDode.hhk and zaDode.hhp (windows-1251, what the help viewer
of a Russian Windows reads) and the example scripts examples.nbs (lines that must answer true)
and examples_false.nbs (UTF-8 with a byte-order mark, which nbhost converts to the ANSI code
page). Any disagreement between the prose and the tables stops the build.
"""
import argparse
import html
import pathlib
import re
import sys

KIND_NAMES = {1: "текст", 3: "число", 6: "переменная"}
ENCODING = "cp1251"


class HelpError(Exception):
    pass


def read_defines(path):
    values = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        m = re.match(r"#define\s+(\w+)\s+\(?\s*(\w+)\s*(?:\+\s*(\d+))?\s*\)?\s*$", line)
        if not m:
            continue
        name, base, offset = m.groups()
        value = int(base) if base.isdigit() else values[base]
        values[name] = value + int(offset or 0)
    return values


def read_strings(path, defines):
    strings = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        m = re.match(r'\s*(\w+)\s*(?:\+\s*(\d+))?\s*,\s*"(.*)"\s*$', line)
        if not m or m.group(1) not in defines:
            continue
        text = m.group(3).replace('""', '"').replace("\\r", "\r").replace("\\n", "\n")
        strings[defines[m.group(1)] + int(m.group(2) or 0)] = text
    return strings


def read_catalogue(path):
    """[(category, [(id, kinds)])] in registration order."""
    categories = []
    source = path.read_text(encoding="utf-8")
    for m in re.finditer(r'Heading\((\d+)\)|Action\((\d+),\s*"((?:\\\d+)*)"sv', source):
        if m.group(1) is not None:
            categories.append((int(m.group(1)), []))
        else:
            kinds = [int(k, 8) for k in re.findall(r"\\(\d+)", m.group(3))]
            categories[-1][1].append((int(m.group(2)), kinds))
    return categories


def read_topics(path):
    """Introduction and {name: block} of one prose file."""
    intro, blocks, current = [], {}, None
    order = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if line.startswith("== "):
            current = line[3:].strip()
            if current in blocks:
                raise HelpError(f"{path}:{number}: {current} twice")
            blocks[current] = {"p": [], "result": [], "error": [], "example": [], "note": []}
            order.append(current)
            continue
        if current is None:
            intro.append(line)
            continue
        if not line.strip():
            continue
        m = re.match(r"(p|result|error|example|example-false|example-skip|note):\s?(.*)$", line)
        if not m:
            blocks[current]["note"].append(line)  # free prose (about, thirdparty)
            continue
        key, text = m.groups()
        if key.startswith("example"):
            blocks[current]["example"].append((key[8:] or "true", text))
        else:
            blocks[current][key].append(text)
    return "\n".join(intro).strip(), blocks, order


class Help:
    def __init__(self, root):
        defines = read_defines(root / "src/resources/resource.h")
        self.defines = defines
        self.strings = read_strings(root / "src/resources/strings.rc", defines)
        self.catalogue = read_catalogue(root / "src/core/catalogue.cpp")
        self.topics = root / "help/topics"

    def name(self, action_id):
        return self.strings[self.defines["IDS_ACTION_NAME_BASE"] + action_id]

    def hint(self, action_id):
        return self.strings[self.defines["IDS_ACTION_HINT_BASE"] + action_id]

    def category(self, number):
        return self.strings[self.defines["IDS_CATEGORY_BASE"] + number]

    def expand(self, text, action):
        def message(m):
            name, *args = m.group(1).split(":")
            if name not in self.defines or self.defines[name] not in self.strings:
                raise HelpError(f"{action}: no string {name}")
            value = self.strings[self.defines[name]]
            if not args and name == "IDS_INVALID_ARGUMENTS":
                args = [action]
            for arg in args:
                value = re.sub(r"%[sd]", lambda _: "\0" + arg + "\1", value, count=1)
            value = html.escape(value).replace("\r\n", "<br>")
            value = value.replace("\0", "<i>").replace("\1", "</i>")
            return "<code>«" + value + "»</code>"

        return re.sub(r"\{(IDS_\w+(?::[^}]*)?)\}", message, text)

    def load(self):
        files = sorted(self.topics.glob("[0-9][0-9]-*.txt"))
        if [int(f.name[:2]) for f in files] != [c for c, _ in self.catalogue]:
            raise HelpError("one prose file per category, numbered as the catalogue's headings")
        self.sections = []
        for (number, actions), path in zip(self.catalogue, files):
            intro, blocks, order = read_topics(path)
            names = [self.name(i) for i, _ in actions]
            if order != names:
                raise HelpError(f"{path.name}: actions {order}, the catalogue has {names}")
            for (action_id, kinds), name in zip(actions, names):
                block = blocks[name]
                if len(block["p"]) != len(kinds):
                    raise HelpError(f"{name}: {len(block['p'])} parameters, registered {len(kinds)}")
                if not block["result"] or not block["example"]:
                    raise HelpError(f"{name}: needs a result and an example")
                if not any(line.split(" ", 1)[0] == name for _, line in block["example"]):
                    raise HelpError(f"{name}: no example line runs {name}")
            self.sections.append((number, intro, actions, blocks))
        _, self.general, _ = read_topics(self.topics / "general.txt")
        for topic in ("about", "thirdparty"):
            if topic not in self.general:
                raise HelpError(f"general.txt: no '{topic}' topic")

    def action_html(self, action_id, kinds, block):
        name = self.name(action_id)
        out = [f'<a name="{name}"></a><h2>{name}</h2>']
        out.append("<p class=hint>" + html.escape(self.hint(action_id)).replace("\n", "<br>") + "</p>")
        if kinds:
            out.append("<table><tr><th>№</th><th>Вид</th><th>Параметр</th></tr>")
            for index, (kind, text) in enumerate(zip(kinds, block["p"]), 1):
                out.append(f"<tr><td>{index}</td><td>{KIND_NAMES[kind]}</td>"
                           f"<td>{self.expand(text, name)}</td></tr>")
            out.append("</table>")
        else:
            out.append("<p>Параметров нет.</p>")
        out.append("<p><b>Результат:</b> " + self.expand(" ".join(block["result"]), name) + "</p>")
        if block["error"]:
            out.append("<p><b>В переменную LastError при ошибке:</b></p><ul>")
            out += ["<li>" + self.expand(e, name) + "</li>" for e in block["error"]]
            out.append("</ul>")
        out += ["<p>" + self.expand(n, name) + "</p>" for n in block["note"]]
        shown = "\n".join(html.escape(line) for _, line in block["example"])
        out.append("<p><b>Пример:</b></p><pre>" + shown + "</pre>")
        return "\n".join(out)

    def index_html(self):
        title = self.strings[self.defines["IDS_PLUGIN_TITLE"]]
        out = ['<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN">', "<html><head>",
               '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">',
               f"<title>{title}</title>", "<style>body{font-family:Tahoma,Arial;font-size:10pt}"
               "h2{margin-top:24pt;border-bottom:1px solid #888}"
               "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:2px 6px;"
               "vertical-align:top}pre{background:#f0f0f0;padding:4px}.hint{color:#333;"
               "font-style:italic}</style>", "</head><body>",
               f'<a name="about"></a><h1>{title}</h1>']
        out += [self.expand(n, "about") for n in self.general["about"]["note"]]
        out.append("<h3>Содержание</h3><ul>")
        for number, _, actions, _ in self.sections:
            out.append(f'<li><a href="#category{number}">{html.escape(self.category(number))}</a>: '
                       + ", ".join(f'<a href="#{self.name(i)}">{self.name(i)}</a>'
                                   for i, _ in actions) + "</li>")
        out.append('<li><a href="#thirdparty">Сторонние компоненты</a></li></ul>')
        for number, intro, actions, blocks in self.sections:
            out.append(f'<a name="category{number}"></a><h1>{html.escape(self.category(number))}</h1>')
            out.append(self.expand(intro, ""))
            out += [self.action_html(i, kinds, blocks[self.name(i)]) for i, kinds in actions]
        out.append('<a name="thirdparty"></a><h1>Сторонние компоненты</h1>')
        out += [self.expand(n, "thirdparty") for n in self.general["thirdparty"]["note"]]
        out.append("<h1>Указатель</h1><p>")
        out += [f'<a href="#{n}">{n}</a><br>' for n in sorted(self.all_names(), key=str.lower)]
        out.append("</p></body></html>")
        return "\n".join(out) + "\n"

    def all_names(self):
        return [self.name(i) for _, actions in self.catalogue for i, _ in actions]

    @staticmethod
    def sitemap_item(name, local, indent):
        pad = "  " * indent
        return (f'{pad}<LI> <OBJECT type="text/sitemap">\n'
                f'{pad}  <param name="Name" value="{html.escape(name)}">\n'
                f'{pad}  <param name="Local" value="{local}">\n{pad}  </OBJECT>')

    def contents(self):
        out = ['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML><HEAD>",
               '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">',
               "</HEAD><BODY>", "<UL>", self.sitemap_item("О плагине", "index.html#about", 1)]
        for number, _, actions, _ in self.sections:
            out.append(self.sitemap_item(self.category(number), f"index.html#category{number}", 1))
            out.append("  <UL>")
            out += [self.sitemap_item(self.name(i), f"index.html#{self.name(i)}", 2)
                    for i, _ in actions]
            out.append("  </UL>")
        out += [self.sitemap_item("Сторонние компоненты", "index.html#thirdparty", 1),
                "</UL>", "</BODY></HTML>"]
        return "\n".join(out) + "\n"

    def keywords(self):
        out = ['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML><HEAD>",
               '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">',
               "</HEAD><BODY>", "<UL>"]
        out += [self.sitemap_item(n, f"index.html#{n}", 1)
                for n in sorted(self.all_names(), key=str.lower)]
        out += ["</UL>", "</BODY></HTML>"]
        return "\n".join(out) + "\n"

    def examples(self, kind):
        lines = [". Examples of the help, in catalogue order (generated by help/generate.py)."]
        for _, _, actions, blocks in self.sections:
            for action_id, _ in actions:
                lines += [line for k, line in blocks[self.name(action_id)]["example"] if k == kind]
        return "\r\n".join(lines) + "\r\n"


PROJECT = """[OPTIONS]
Compatibility=1.1 or later
Compiled file=zaDode.chm
Contents file=zaDode.hhc
Index file=zaDode.hhk
Default topic=index.html
Display compile progress=No
Full-text search=Yes
Language=0x419 Russian
Title=zaDode

[FILES]
index.html
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=pathlib.Path, default=pathlib.Path(__file__).parents[1])
    parser.add_argument("--out", type=pathlib.Path, required=True)
    args = parser.parse_args()
    try:
        help_ = Help(args.root)
        help_.load()
        args.out.mkdir(parents=True, exist_ok=True)
        for name, text in (("index.html", help_.index_html()), ("zaDode.hhc", help_.contents()),
                           ("zaDode.hhk", help_.keywords()), ("zaDode.hhp", PROJECT)):
            (args.out / name).write_bytes(
                text.replace("\n", "\r\n").encode(ENCODING, "xmlcharrefreplace"))
        for name, kind in (("examples.nbs", "true"), ("examples_false.nbs", "false")):
            (args.out / name).write_bytes(b"\xef\xbb\xbf" + help_.examples(kind).encode("utf-8"))
    except (HelpError, KeyError) as error:
        sys.exit(f"help/generate.py: {error}")


if __name__ == "__main__":
    main()
