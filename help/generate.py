#!/usr/bin/env python3
"""Builds the sources of one edition of zaDode's help from what the plug-in itself says.

Everything about an action that the plug-in knows comes from running it: id, name, category,
parameter kinds and hint from `nbhost --catalogue-tsv`, the property dialog's caption, fields,
buttons and option lists from `nbhost --forms`, and the results under every example from
`nbhost --publication zaDode --blocks` (all through Wine, in the edition's locale). Texts that
an action writes into LastError are quoted from the string table as {IDS_NAME} or
{IDS_NAME:arg:arg} (%s/%d filled with the arguments, in italics). Nothing here reads C++.

An edition is a folder help/topics/<lang>/ with
  words.txt      every fixed word the pages use ("key = text"), and the edition's settings
                 ("@encoding", "@charset", "@language", "@locale", "@chm", "@strings")
  NN-name.txt    one file per category, NN its place in the catalogue: the introduction
                 (HTML), then "== @example" (a longer example for the category page), then one
                 "== kxName" block per action in catalogue order
  general.txt    "== about", "== version", "== thirdparty": free HTML lines
A block holds "key: text" lines:
  keys:     words for the index, separated by ";"
  see:      related topics (action names), separated by blanks
  precise:  what the catalogue hint should have said, where it is wrong or unclear
  p:        one line per parameter, as many as the catalogue registers
  result:   what the action writes;   error: a LastError text (any number)
  note:     a further paragraph (HTML as it is when it starts with "<", such as a table)
  dialog:   a further paragraph about the property dialog
  title:    the heading of a general page or of a category's example
  example:  a script line; consecutive example lines form one block that runs on fresh
            variables, and the variables it leaves are shown under it. example-false: a line
            that may answer false. example-skip: lines shown but not run (dialogs, power, the
            monitor), a block of their own.
  vary:     "Name = pattern" for a result that changes from run to run: the pattern is shown
            instead of the value, ‹…› marks its varying parts (digits: a number; a|b: one of
            those, the first shown; anything else: any text), and the value must match it;
            "Name* = pattern" covers an array whose length varies (Name0, Name1 …) in one row
  system:   the same for a text that Windows writes (its wording depends on its version)
Any other line is HTML prose (the general pages, a category's example); an action's block has
none. Every disagreement stops the build: a parameter count that differs from the catalogue, an
example that answers false where it may not, a value that does not match its pattern.
"""
import argparse
import html
import os
import pathlib
import re
import subprocess
import sys
import tempfile

KEYS = ("keys", "see", "precise", "p", "result", "error", "note", "dialog", "title", "example",
        "example-false", "example-skip", "vary", "system")


class HelpError(Exception):
    pass


def read_words(path):
    words = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        key, sep, text = line.partition(" = ")
        if not sep:
            raise HelpError(f"{path}:{number}: not 'key = text'")
        words[key.strip()] = text.strip()
    return words


def read_strings(path):
    """{"IDS_NAME": text, "IDS_BASE+3": text} of a UTF-8 .rc string table."""
    strings = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        m = re.match(r'\s*(IDS_\w+)\s*(?:\+\s*(\d+))?\s*,\s*"(.*)"\s*$', line)
        if m:
            text = m.group(3).replace('""', '"').replace("\\r", "\r").replace("\\n", "\n")
            strings[m.group(1) + (f"+{m.group(2)}" if m.group(2) else "")] = text
    return strings


def unfield(text):
    """A field of nbhost's listings: [#NN] back to the character."""
    return re.sub(r"\[#(\d+)\]", lambda m: chr(int(m.group(1))), text)


class Block:
    """Consecutive example lines, run together; their results are shown under them."""

    def __init__(self):
        self.lines = []   # (kind, text), kind "true", "false" or "skip"
        self.vary = {}    # lower-case variable name: (name, pattern, note)
        self.results = None

    def varying(self, name):
        """The vary entry that covers variable `name` ("Drive*" covers Drive0, Drive1 …)."""
        key = name.lower()
        if key in self.vary:
            return key
        return next((k for k in self.vary if k.endswith("*") and key.startswith(k[:-1])
                     and key[len(k) - 1:].isdigit()), None)

    @property
    def runs(self):  # a block is all example-skip lines or none (read_topics splits them)
        return self.lines[0][0] != "skip"


class Topic:
    def __init__(self, name):
        self.name = name
        self.fields = {key: [] for key in KEYS
                       if not key.startswith("example") and key not in ("vary", "system")}
        self.prose = []
        self.blocks = []

    def one(self, key):
        return " ".join(self.fields[key])


def read_topics(path):
    """Introduction, {name: Topic} and the names in file order."""
    intro, topics, order, topic, last = [], {}, [], None, None
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if line.startswith("== "):
            name = line[3:].strip()
            if name in topics:
                raise HelpError(f"{path}:{number}: {name} twice")
            topic = topics[name] = Topic(name)
            order.append(name)
            last = None
            continue
        if topic is None:
            intro.append(line)
            continue
        m = re.match(r"(" + "|".join(KEYS) + r"):\s?(.*)$", line)
        key = m.group(1) if m else None
        if key and key.startswith("example"):
            if last is None or not last.startswith("example") or (
                    (key == "example-skip") != (last == "example-skip")):
                topic.blocks.append(Block())
            topic.blocks[-1].lines.append((key[8:] or "true", m.group(2)))
        elif key in ("vary", "system"):
            v = re.fullmatch(r"(\w+\*?) = (.*)", m.group(2))
            if not topic.blocks or not v:
                raise HelpError(f"{path}:{number}: '{key}: Name = pattern' after an example")
            topic.blocks[-1].vary[v.group(1).lower()] = (v.group(1), v.group(2), key)
        elif key:
            topic.fields[key].append(m.group(2))
        elif line.strip():
            topic.prose.append(line)
        last = key if line.strip() else last
    return "\n".join(intro).strip(), topics, order


def vary_regex(pattern):
    """The values a pattern allows: ‹digits› a number, ‹a|b› one of them, ‹other› any text."""
    out = ""
    for fixed, varying in re.findall(r"([^‹]*)(?:‹([^›]*)›)?", pattern):
        out += re.escape(fixed)
        if varying.isdigit():
            out += r"-?\d+"
        elif "|" in varying:
            out += "(?:" + "|".join(re.escape(v) for v in varying.split("|")) + ")"
        elif varying:
            out += ".+?"
    return out


class Host:
    """nbhost under Wine, in the edition's locale, on a display of its own."""

    def __init__(self, wine, nbhost, plugin, locale):
        self.wine, self.command = wine, [wine, nbhost, "--plugin", plugin]
        self.env = dict(os.environ, LC_ALL=locale, LANG=locale)
        # Xvfb has no window manager, for which Wine would wait at every closed window.
        subprocess.run([wine, "reg", "add", r"HKCU\Software\Wine\AppDefaults\nbhost.exe\X11 Driver",
                        "/v", "Managed", "/d", "N", "/f"], env=self.env, check=True,
                       capture_output=True)

    def run(self, *args):
        done = subprocess.run(self.command + list(args), env=self.env, capture_output=True)
        if done.returncode:
            raise HelpError(f"nbhost {' '.join(args)}: {done.stderr.decode(errors='replace')}")
        return done.stdout.decode("utf-8").replace("\r\n", "\n")

    def catalogue(self):
        """[(id, name, category, [kinds], hint)] in registration order."""
        rows = []
        for line in self.run("--catalogue-tsv").splitlines():
            number, name, category, kinds, hint = line.split("\t")
            rows.append((int(number), name, category, [int(k) for k in kinds.split()],
                         unfield(hint)))
        return rows

    def forms(self):
        """{id: (caption, test button, [(slot, label, default, [buttons], [items])])}."""
        forms = {}
        for line in self.run("--forms").splitlines():
            kind, number, *rest = line.split("\t")
            if kind == "form":
                forms[int(number)] = (unfield(rest[0]), rest[2], [])
            else:
                slot, label, default, buttons, items = rest
                forms[int(number)][2].append((int(slot), unfield(label), unfield(default),
                                              buttons.split("|") if buttons else [],
                                              items.split("|") if items else []))
        return forms

    def blocks(self, script):
        """{title: ([problems], [(name, value)])} of a ".== title" script."""
        with tempfile.TemporaryDirectory() as folder:
            path = pathlib.Path(folder) / "examples.nbs"
            path.write_bytes(b"\xef\xbb\xbf" + script.encode("utf-8"))
            out = self.run("--publication", "zaDode", "--blocks", str(path))
        results, current = {}, None
        for line in out.splitlines():
            if line.startswith("== "):
                current = results[line[3:]] = ([], [])
            elif line.startswith("! "):
                current[0].append(line[2:])
            else:
                name, _, value = line.partition("=")
                current[1].append((name, value))  # control characters stay [#NN]
        return results


class Edition:
    def __init__(self, root, lang, host):
        self.root, self.folder = root, root / "help/topics" / lang
        self.words = read_words(self.folder / "words.txt")
        self.strings = read_strings(root / self.words["@strings"])
        self.host = host
        rows = host.catalogue()
        self.names = [name for _, name, _, _, _ in rows]
        self.rows = {name: (number, kinds, hint) for number, name, _, kinds, hint in rows}
        self.categories = []  # (title, page, intro, [action names], example Topic)
        files = sorted(self.folder.glob("[0-9][0-9]-*.txt"))
        titles = list(dict.fromkeys(category for _, _, category, _, _ in rows))
        if [int(f.name[:2]) for f in files] != list(range(len(titles))):
            raise HelpError(f"{self.folder}: one file per category, numbered 00 to {len(titles) - 1:02}")
        self.topics = {}
        for title, path in zip(titles, files):
            intro, topics, order = read_topics(path)
            actions = [name for _, name, category, _, _ in rows if category == title]
            if [n for n in order if n != "@example"] != actions:
                raise HelpError(f"{path.name}: actions {order}, the catalogue has {actions}")
            if "@example" not in topics or not topics["@example"].blocks:
                raise HelpError(f"{path.name}: no '== @example' with example lines")
            page = path.stem[3:] + ".html"
            self.categories.append((title, page, intro, actions, topics["@example"]))
            self.topics.update((n, topics[n]) for n in actions)
            self.topics[page] = topics["@example"]
        _, general, _ = read_topics(self.folder / "general.txt")
        for name in ("about", "version", "thirdparty"):
            if name not in general:
                raise HelpError(f"general.txt: no '{name}' topic")
        self.general = general
        self.topics.update((name + ".html", topic) for name, topic in general.items())
        self.forms = host.forms()
        self.check()

    def w(self, key, **values):
        if key not in self.words:
            raise HelpError(f"words.txt: no '{key}'")
        return self.words[key].format(**values)

    def check(self):
        for name in self.names:
            topic, (_, kinds, _) = self.topics[name], self.rows[name]
            if topic.prose:
                raise HelpError(f"{name}: a line without a key: {topic.prose[0]}")
            if len(topic.fields["p"]) != len(kinds):
                raise HelpError(f"{name}: {len(topic.fields['p'])} parameters, registered {len(kinds)}")
            if not topic.fields["result"] or not topic.blocks:
                raise HelpError(f"{name}: needs a result and an example")
            if not any(text.split(" ", 1)[0] == name for b in topic.blocks for _, text in b.lines):
                raise HelpError(f"{name}: no example line runs {name}")
            for other in " ".join(topic.fields["see"]).split():
                if other not in self.rows:
                    raise HelpError(f"{name}: see {other}, which the catalogue does not have")

    # Examples ---------------------------------------------------------------------------------

    def run_examples(self):
        script, runs = [], {}
        for page, topic in self.topics.items():
            for number, block in enumerate(topic.blocks):
                if block.runs:
                    title = f"{page}#{number}"
                    runs[title] = block
                    script.append(f".== {title}")
                    script += [text for _, text in block.lines]
        results = self.host.blocks("\r\n".join(script) + "\r\n")
        for title, block in runs.items():
            problems, variables = results[title]
            allowed = [i + 1 for i, (kind, _) in enumerate(block.lines) if kind == "false"]
            for problem in problems:
                m = re.match(r"line (\d+): \w+ answered false$", problem)
                if not m or int(m.group(1)) not in allowed:
                    raise HelpError(f"{title}: {problem}")
            for key, (name, _, _) in block.vary.items():
                if not any(block.varying(n) == key for n, _ in variables):
                    raise HelpError(f"{title}: 'vary: {name}', which the example does not set")
            for name, value in variables:
                key = block.varying(name)
                if key and not re.fullmatch(vary_regex(block.vary[key][1]), value, re.S):
                    raise HelpError(f"{title}: {name}={value!r} does not match its pattern")
            block.results = variables

    # HTML pieces ------------------------------------------------------------------------------

    def expand(self, text, action):
        """{IDS_…} quotes of the string table, then links to the actions named."""
        def message(m):
            name, *args = m.group(1).split(":")
            if name not in self.strings:
                raise HelpError(f"{action}: no string {name}")
            value = self.strings[name]
            if not args and name == "IDS_INVALID_ARGUMENTS":
                args = [action]
            for arg in args:
                value = re.sub(r"%[sd]", lambda _: "\0" + arg + "\1", value, count=1)
            value = html.escape(value).replace("\r\n", "[#13][#10]")
            value = value.replace("\0", "<i>").replace("\1", "</i>")
            return self.w("quote", text="<code>" + value + "</code>")

        return self.link(re.sub(r"\{(IDS_[\w+]+(?::[^}]*)?)\}", message, text), action)

    def link(self, text, current):
        out, inside = [], 0
        for part in re.split(r"(<[^>]+>)", text):
            if part.startswith("<"):
                inside += 1 if re.match(r"<a\b", part) else -1 if part == "</a>" else 0
            elif not inside:
                part = re.sub(r"\b(kx[A-Z]\w*)\b", lambda m: (
                    f'<a href="{m[1]}.html">{m[1]}</a>'
                    if m[1] in self.rows and m[1] != current else m[1]), part)
            out.append(part)
        return "".join(out)

    def example_html(self, block, current):
        code = "\n".join(html.escape(text) for _, text in block.lines)
        out = ['<pre class="example">' + self.link(code, current) + "</pre>"]
        if block.results is None:
            out.append(f'<p class="note">{self.w("not_run")}</p>')
        elif not block.results:
            out.append(f'<p class="note">{self.w("no_results")}</p>')
        else:
            out.append(f'<p class="results">{self.w("results")}</p><table class="results">')
            shown_arrays = set()
            for name, value in block.results:
                key = block.varying(name)
                label = f"[{html.escape(name)}]"
                if key and key.endswith("*"):  # an array whose length varies: one row for all
                    if key in shown_arrays:
                        continue
                    shown_arrays.add(key)
                    array = html.escape(block.vary[key][0][:-1])
                    label = f"[{array}0], [{array}1] …"
                if key:
                    _, pattern, note = block.vary[key]
                    shown = re.sub(r"‹([^›]*)›", lambda m: "<i>" + m[1].split("|")[0] + "</i>",
                                   html.escape(pattern))
                    code = f'<code class="varies" title="{html.escape(pattern)}">{shown}</code>'
                    cell = (f'<td class="value">{self.w("quote", text=code)}'
                            f' <span class="note">({self.w(note)})</span></td>')
                else:
                    code = f"<code>{html.escape(value)}</code>"
                    cell = f'<td class="value">{self.w("quote", text=code)}</td>'
                out.append(f'<tr><td class="var">{label}</td>{cell}</tr>')
            out.append("</table>")
        return "\n".join(out)

    def dialog_html(self, name):
        number = self.rows[name][0]
        out = [f"<h2>{self.w('dialog')}</h2>"]
        if number not in self.forms:
            return out + [f"<p>{self.w('no_dialog')}</p>"]
        caption, test, fields = self.forms[number]
        out.append(f"<p>{self.w('dialog_intro', caption=html.escape(caption))}</p>")
        out.append(f"<table><tr><th>{self.w('col_field')}</th><th>{self.w('col_param')}</th>"
                   f"<th>{self.w('col_buttons')}</th><th>{self.w('col_items')}</th></tr>")
        for slot, label, default, buttons, items in fields:
            listed = ", ".join(f"<code>{html.escape(i)}</code>" for i in items)
            if default:
                listed += "; " + self.w("default", value=html.escape(default))
            out.append(f"<tr><td>{self.w('quote', text=html.escape(label))}</td><td>{slot + 1}</td>"
                       "<td>" + ", ".join(self.w("quote", text=html.escape(b)) for b in buttons)
                       + f"</td><td>{listed}</td></tr>")
        out.append("</table>")
        if test:
            out.append(f"<p>{self.w('dialog_test', button=html.escape(test))}</p>")
        out += [f"<p>{self.expand(line, name)}</p>" for line in self.topics[name].fields["dialog"]]
        out.append(f"<p>{self.w('dialog_help')}</p>")
        return out

    def action_page(self, name, category, category_page):
        topic, (number, kinds, hint) = self.topics[name], self.rows[name]
        labels = {}
        for slot, label, _, _, _ in self.forms.get(number, ("", "", []))[2]:
            labels[slot] = label
        out = [f'<p class="crumbs"><a href="{category_page}">{html.escape(category)}</a></p>',
               f"<h1>{name}</h1>",
               '<p class="hint">' + html.escape(hint).replace("\n", "<br>") + "</p>"]
        if topic.fields["precise"]:
            out.append(f'<p class="precise"><b>{self.w("precise")}</b> '
                       f'{self.expand(topic.one("precise"), name)}</p>')
        out.append(f"<h2>{self.w('params')}</h2>")
        if kinds:
            out.append(f"<table><tr><th>{self.w('col_number')}</th><th>{self.w('col_kind')}</th>"
                       f"<th>{self.w('col_field')}</th><th>{self.w('col_text')}</th></tr>")
            for index, (kind, text) in enumerate(zip(kinds, topic.fields["p"])):
                label = self.w("quote", text=html.escape(labels[index])) if index in labels else ""
                out.append(f"<tr><td>{index + 1}</td><td>{self.w(f'kind{kind}')}</td>"
                           f"<td>{label}</td><td>{self.expand(text, name)}</td></tr>")
            out.append("</table>")
        else:
            out.append(f"<p>{self.w('no_params')}</p>")
        out.append(f"<h2>{self.w('result')}</h2><p>{self.expand(topic.one('result'), name)}</p>")
        out.append(f"<h2>{self.w('errors')}</h2>")
        if topic.fields["error"]:
            out.append("<ul>" + "".join(f"<li>{self.expand(e, name)}</li>"
                                        for e in topic.fields["error"]) + "</ul>")
        else:
            out.append(f"<p>{self.w('no_errors')}</p>")
        out += [self.expand(n if n.startswith("<") else f"<p>{n}</p>", name)
                for n in topic.fields["note"]]
        out += self.dialog_html(name)
        out.append(f"<h2>{self.w('examples' if len(topic.blocks) > 1 else 'example')}</h2>")
        out += [self.example_html(block, name) for block in topic.blocks]
        see = " ".join(topic.fields["see"]).split()
        if see:
            out.append(f"<h2>{self.w('see_also')}</h2><p>"
                       + ", ".join(f'<a href="{s}.html">{s}</a>' for s in see) + "</p>")
        return self.page(name, out)

    def category_page(self, title, intro, actions, example):
        out = [f"<h1>{html.escape(title)}</h1>", self.expand(intro, ""),
               f"<h2>{self.w('actions')}</h2><table>"]
        for name in actions:  # what the action does: the corrected hint where there is one
            precise = self.topics[name].one("precise")
            hint = (self.expand(precise, "") if precise
                    else html.escape(self.rows[name][2]).replace("\n", "<br>"))
            out.append(f'<tr><td><a href="{name}.html">{name}</a></td><td>{hint}</td></tr>')
        out.append("</table>")
        out.append(f"<h2>{html.escape(example.one('title'))}</h2>")
        out.append(f"<p>{self.expand(' '.join(example.prose), '')}</p>")
        out += [self.example_html(block, "") for block in example.blocks]
        return self.page(title, out)

    def general_page(self, name):
        topic = self.general[name]
        out = [f"<h1>{html.escape(topic.one('title'))}</h1>"]
        out.append(self.expand("\n".join(topic.prose), name))
        return self.page(topic.one("title"), out)

    def page(self, title, body):
        return "\n".join([
            '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN">', "<html><head>",
            f'<meta http-equiv="Content-Type" content="text/html; charset={self.w("@charset")}">',
            f"<title>{html.escape(title)}</title>",
            '<link rel="stylesheet" type="text/css" href="zaDode.css">', "</head><body>",
            *body, "</body></html>"]) + "\n"

    def index_page(self):
        """OpenPluginHelp opens index.html#<name>: the script goes on to that topic's page, and
        a plain link stands at each anchor where scripts are off."""
        pages = {name: name + ".html" for name in self.names}
        pages.update((name, name + ".html") for name in self.general)
        table = ", ".join(f'"{k}": "{v}"' for k, v in pages.items())
        script = ['<script type="text/javascript">', f"var pages = {{{table}}};",
                  'var topic = location.hash.replace(/^#/, "");',
                  "if (pages[topic]) location.replace(pages[topic]);", "</script>"]
        out = [f"<h1>{self.w('index_title')}</h1>", f"<p>{self.w('index_intro')}</p>", "<ul>"]
        for name in ("about", "version", "thirdparty"):
            out.append(f'<li><a name="{name}" href="{name}.html">'
                       f'{html.escape(self.general[name].one("title"))}</a></li>')
        out.append("</ul>")
        for title, page, _, actions, _ in self.categories:
            out.append(f'<h2><a href="{page}">{html.escape(title)}</a></h2><p>'
                       + ", ".join(f'<a name="{n}" href="{n}.html">{n}</a>' for n in actions)
                       + "</p>")
        text = self.page(self.w("index_title"), out)
        return text.replace("</head>", "\n".join(script) + "\n</head>", 1)

    # Contents and index -----------------------------------------------------------------------

    @staticmethod
    def item(pairs, indent):
        pad = "  " * indent
        params = "".join(f'\n{pad}  <param name="{k}" value="{html.escape(v)}">' for k, v in pairs)
        return f'{pad}<LI> <OBJECT type="text/sitemap">{params}\n{pad}  </OBJECT>'

    def sitemap(self, items):
        return "\n".join(['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML><HEAD>",
                          f'<meta http-equiv="Content-Type" content="text/html; '
                          f'charset={self.w("@charset")}">', "</HEAD><BODY>", "<UL>", *items,
                          "</UL>", "</BODY></HTML>"]) + "\n"

    def contents(self):
        title = lambda name: self.general[name].one("title")
        items = [self.item([("Name", title(n)), ("Local", n + ".html")], 1)
                 for n in ("about", "version")]
        for category, page, _, actions, _ in self.categories:
            items.append(self.item([("Name", category), ("Local", page)], 1))
            items.append("  <UL>")
            items += [self.item([("Name", n), ("Local", n + ".html")], 2) for n in actions]
            items.append("  </UL>")
        items.append(self.item([("Name", title("thirdparty")), ("Local", "thirdparty.html")], 1))
        return self.sitemap(items)

    def keywords(self):
        """Every action name, and the words of the "keys:" lines with the topics they lead to."""
        entries = {name: [(name, name + ".html")] for name in self.names}
        titles = {name + ".html": name for name in self.names}
        titles.update((page, title) for title, page, *_ in self.categories)
        titles.update((n + ".html", t.one("title")) for n, t in self.general.items())
        pages = dict((n if n.endswith(".html") else n + ".html", t) for n, t in self.topics.items())
        for page, topic in pages.items():
            for word in "; ".join(topic.fields["keys"]).split(";"):
                if word.strip():
                    entries.setdefault(word.strip(), []).append((titles[page], page))
        items = []
        for word in sorted(entries, key=str.lower):
            pairs = [("Name", word)]
            for title, local in entries[word]:
                pairs += [("Name", title), ("Local", local)] if len(entries[word]) > 1 else [
                    ("Local", local)]
            items.append(self.item(pairs, 1))
        return self.sitemap(items)

    def write(self, out):
        self.run_examples()
        files = {"index.html": self.index_page(), "zaDode.css": CSS}
        for title, page, intro, actions, example in self.categories:
            files[page] = self.category_page(title, intro, actions, example)
            files.update((n + ".html", self.action_page(n, title, page)) for n in actions)
        files.update((n + ".html", self.general_page(n)) for n in self.general)
        stem = self.w("@chm")[:-4]
        project = PROJECT.format(chm=self.w("@chm"), stem=stem, language=self.w("@language"),
                                 title=self.w("index_title"))
        files[stem + ".hhc"] = self.contents()
        files[stem + ".hhk"] = self.keywords()
        files[stem + ".hhp"] = project + "\n".join(f for f in files if f.endswith(".html")) + "\n"
        out.mkdir(parents=True, exist_ok=True)
        for name, text in files.items():
            (out / name).write_bytes(
                text.replace("\n", "\r\n").encode(self.w("@encoding"), "xmlcharrefreplace"))


PROJECT = """[OPTIONS]
Compatibility=1.1 or later
Compiled file={chm}
Contents file={stem}.hhc
Index file={stem}.hhk
Default topic=index.html
Display compile progress=No
Full-text search=Yes
Binary Index=No
Binary TOC=No
Language={language}
Title={title}

[FILES]
zaDode.css
"""

CSS = """body{font-family:Tahoma,Arial;font-size:10pt;margin:8pt 12pt}
h1{font-size:15pt;margin:4pt 0 8pt}h2{font-size:11pt;margin:14pt 0 4pt;border-bottom:1px solid #999}
table{border-collapse:collapse;margin:2pt 0}td,th{border:1px solid #bbb;padding:2px 6px;vertical-align:top;text-align:left}
pre{background:#f0f0f0;padding:4px 6px;margin:4pt 0 2pt}code{font-family:"Courier New",monospace;white-space:pre}
.hint{font-style:italic;color:#333}.precise{color:#333}.crumbs{font-size:9pt;margin:0}
.note{color:#555}.results{margin:2pt 0}table.results td{border:none;padding:0 6px 0 0}
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=pathlib.Path, default=pathlib.Path(__file__).parents[1])
    parser.add_argument("--lang", default="ru")
    parser.add_argument("--out", type=pathlib.Path, required=True)
    parser.add_argument("--wine", required=True, help="runs a Windows program (tools/wine-run)")
    parser.add_argument("--nbhost", required=True)
    parser.add_argument("--plugin", required=True)
    args = parser.parse_args()
    try:
        words = read_words(args.root / "help/topics" / args.lang / "words.txt")
        host = Host(args.wine, args.nbhost, args.plugin, words["@locale"])
        Edition(args.root, args.lang, host).write(args.out)
    except (HelpError, KeyError, ValueError, subprocess.CalledProcessError) as error:
        sys.exit(f"help/generate.py: {error}")


if __name__ == "__main__":
    main()
