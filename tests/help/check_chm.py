#!/usr/bin/env python3
"""Reads one edition's compiled help (zaDode.chm, zaDode-en.chm) back and holds it against what
the plug-in registers, shows and gives now in that edition's locale:
- a page per action (<name>.html) with its registered hint, parameter kinds in order and every
  label and option of its property form; index.html with one anchor per action (and about,
  version, thirdparty) whose plain link points to that page, and the script that follows
  location.hash to the same pages;
- the contents: the categories in registration order holding their actions' pages; the index:
  every action name and the words an author looks for; the full-text index finds them too
  (Russian words in the Russian edition); every page a link names is in the file; pages in the
  edition's code page;
- every example's printed variables are what the same lines give when run again now (by the
  pattern shown, where the help marks a result as varying).

usage: check_chm.py --lang ru|en --build BUILD-DIR --wine WINE-RUN --nbhost NBHOST --plugin NBP
       --chmbuild CHMBUILD   (with a display; the edition's words.txt gives file, code page and
       locale)
"""
import argparse
import html
import pathlib
import re
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
ROOT = pathlib.Path(__file__).parents[2]
sys.path.insert(0, str(ROOT / "help"))
from generate import Host, read_words, vary_regex  # noqa: E402  the generator's own pieces

# Per edition: index words an author looks for, and full-text searches with a page each finds.
KEYWORDS = {
    "ru": ["дата", "ярлык", "буфер обмена", "массив", "LastError", "Base64", "скриншот",
           "кодировка"],
    "en": ["date", "shortcut", "clipboard", "array", "LastError", "Base64", "screenshot",
           "encoding"],
}
SEARCHED = {
    "ru": {"ярлык": "kxAddShortcut.html", "затирание": "kxWipeFile.html",
           "кодировка": "about.html", "base64": "kxBase64EncodeStr.html"},
    "en": {"shortcut": "kxAddShortcut.html", "wipe": "kxWipeFile.html",
           "encoding": "about.html", "base64": "kxBase64EncodeStr.html"},
}


def sitemap(text):
    """[(depth, [(name, local)…])] of every entry of a .hhc/.hhk."""
    entries, depth = [], 0
    for m in re.finditer(r"(<UL>)|(</UL>)|<OBJECT[^>]*>(.*?)</OBJECT>", text, re.S | re.I):
        depth += 1 if m.group(1) else -1 if m.group(2) else 0
        if m.group(3):
            params = re.findall(r'<param name="(\w+)" value="([^"]*)">', m.group(3))
            entries.append((depth, [(k, html.unescape(v)) for k, v in params]))
    return entries


def text_of(fragment):
    return html.unescape(re.sub(r"<[^>]+>", "", fragment))


def examples(page):
    """[(code, [(label, value-html)])] of the examples on a page that show their results."""
    found = []
    for m in re.finditer(r'<pre class="example">(.*?)</pre>\s*(<p class="results">.*?</table>)?',
                         page, re.S):
        if m.group(2):
            rows = re.findall(r'<td class="var">(.*?)</td><td class="value">[^<]*(<code.*?</code>)',
                              m.group(2))
            found.append((text_of(m.group(1)), rows))
    return found


def main():
    parser = argparse.ArgumentParser()
    for option in ("lang", "build", "wine", "nbhost", "plugin", "chmbuild"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    words = read_words(ROOT / "help/topics" / args.lang / "words.txt")
    chm, encoding = str(pathlib.Path(args.build) / words["@chm"]), words["@encoding"]
    stem = words["@chm"][:-4]
    kind_codes = {words[f"kind{k}"]: k for k in (1, 3, 6)}
    host = Host(args.wine, args.nbhost, args.plugin, words["@locale"])
    rows, forms = host.catalogue(), host.forms()
    names = [name for _, name, _, _, _ in rows]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["chmls", "extractall", chm, folder], check=True, capture_output=True)
        pages = {p.name: p.read_bytes().decode(encoding) for p in pathlib.Path(folder).iterdir()
                 if p.suffix in (".html", ".hhc", ".hhk")}

    def search(word):
        out = subprocess.run([args.chmbuild, "--search", chm, word.encode(encoding)],
                             capture_output=True, check=True).stdout
        return out.decode().split()

    # One page per action, reachable from index.html#<name>.
    index = pages["index.html"]
    script = index.split("<script", 1)[-1].split("</script>")[0]
    if "location.hash" not in script or "location.replace(pages[topic])" not in script:
        failures.append("index.html: no script that follows location.hash")
    for name in names + ["about", "version", "thirdparty"]:
        links = re.findall(rf'<a name="{name}" href="([^"]*)"', index)
        if links != [name + ".html"] or f'"{name}": "{name}.html"' not in script:
            failures.append(f"index.html#{name} leads to {links}, not to {name}.html")
    for number, name, _, kinds, hint in rows:
        page = pages.get(name + ".html", "")
        shown = [kind_codes.get(k) for k in re.findall(r"<tr><td>\d+</td><td>([^<]*)</td>", page)]
        if shown != kinds:
            failures.append(f"{name}: parameter kinds {shown}, registered {kinds}")
        if html.escape(hint).replace("\n", "<br>") not in page:
            failures.append(f"{name}: the registered hint is not on its page")
        caption, _, fields = forms.get(number, ("", "", []))
        for label in [caption] + [f[1] for f in fields] + [i for f in fields for i in f[4]]:
            if html.escape(label) not in page:
                failures.append(f"{name}: the form's {label!r} is not on its page")
    if any(f'charset={words["@charset"]}' not in text for name, text in pages.items()):
        failures.append(f'a page does not declare {words["@charset"]}')
    # Contents: the categories in registration order, each holding its actions.
    categories = list(dict.fromkeys(category for _, _, category, _, _ in rows))
    contents = sitemap(pages[stem + ".hhc"])
    folders = [dict(p)["Name"] for depth, p in contents if depth == 1][2:-1]
    inside = [dict(p)["Local"] for depth, p in contents if depth == 2]
    if folders != categories or inside != [n + ".html" for n in names]:
        failures.append(f"contents: folders {folders}, entries differ from the catalogue")
    # Index: every action name and the edition's words; full-text search finds them too.
    keywords = sitemap(pages[stem + ".hhk"])
    entries = [p[0][1] for _, p in keywords]
    for wanted in names + KEYWORDS[args.lang]:
        if wanted not in entries:
            failures.append(f"the index has no entry {wanted!r}")
    for word, page in SEARCHED[args.lang].items():
        if page not in search(word):
            failures.append(f"searching {word!r} does not find {page}")
    for _, params in contents + keywords:
        for key, value in params:
            if key == "Local" and value not in pages:
                failures.append(f"the contents or index lead to a missing page {value}")
    # Examples: what the help prints is what the plug-in gives now.
    blocks = {f"{name}#{i}": block for name, text in sorted(pages.items())
              for i, block in enumerate(examples(text))}
    results = host.blocks("".join(f".== {t}\r\n{code}\r\n" for t, (code, _) in blocks.items()))
    for title, (_, printed) in blocks.items():
        problems, now = results[title]
        now = dict(now)
        for label, value in printed:
            array = re.fullmatch(r"\[(\w+)0\], \[\w+1\] …", text_of(label))
            variables = ([n for n in now if re.fullmatch(array.group(1) + r"\d+", n)] if array
                         else [text_of(label)[1:-1]])
            title_attr = re.search(r'title="([^"]*)"', value)
            wanted = (vary_regex(html.unescape(title_attr.group(1))) if title_attr
                      else re.escape(text_of(value)))
            for variable in variables:
                if not re.fullmatch(wanted, now.pop(variable, "<not set>"), re.S):
                    failures.append(f"{title}: [{variable}] printed {text_of(value)!r}, "
                                    f"now {results[title][1]!r}")
        if now:
            failures.append(f"{title}: the example now also sets {sorted(now)}")
    print("\n".join(failures) or f"{len(names)} action pages, {len(blocks)} examples with their "
          f"results, {len(entries)} index entries: {words['@chm']} agrees with the plug-in")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
