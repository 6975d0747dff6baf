#!/usr/bin/env python3
"""Compare a translated string table with the Russian one it was made from.

    python3 tools/compare-string-tables.py [REFERENCE.rc [EDITION.rc [CODEPAGE]]]

Defaults: src/resources/strings.rc, src/resources/en/strings.rc, cp1252. The edition must hold
the same ids in the same order; per entry the same format placeholders in the same order, the
same number of line breaks and doubled quotes, and at least the kx action names, [Variable]
references and truth words of the reference; texts without Cyrillic must stay the same bytes
(script keywords, and the English texts that scripts compare), except that the English edition
writes "(c)" for the copyright sign; and no text may hold Cyrillic or a character the code page
cannot show, since every text reaches the host through the ANSI code page, nor any character
beyond ASCII (the edition serves every other code page too, 932 and 874 among them, which have
no copyright sign). Exit status 1 lists every fault. The build runs it before it compiles the
string tables, so an entry missing from either edition stops the build.
"""

import re
import sys
from collections import Counter
from pathlib import Path

ENTRY = re.compile(r'^\s*(IDS_\w+(?:\s*\+\s*\d+)?)\s*,\s*"((?:[^"]|"")*)"\s*$')
CYRILLIC = re.compile("[\u0400-\u04ff]")
# The plug-in fills only %s and %d; a percent-encoded example such as %26c is no placeholder.
PLACEHOLDER = re.compile(r"%[sd]")
KEYWORDS = re.compile(r"\bkx[A-Z]\w*|\[\w+\]|\bTrue\b|\bFalse\b")


def read_table(path):
    """[(id, raw text as written in the .rc)] in file order."""
    entries = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        m = ENTRY.match(line)
        if m:
            entries.append((re.sub(r"\s+", " ", m.group(1)), m.group(2), number))
        elif re.match(r"\s*IDS_", line):
            raise SystemExit(f"{path}:{number}: cannot read the entry: {line.strip()}")
    return entries


def unescape(raw):
    """The text the resource compiler stores for a quoted .rc string."""
    escapes = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}
    text = raw.replace('""', '"')
    return re.sub(r"\\(.)", lambda m: escapes.get(m.group(1), m.group(0)), text)


def compare(reference, edition, codepage):
    faults = []
    ref_ids = [entry[0] for entry in reference]
    ed_ids = [entry[0] for entry in edition]
    for name, ids in (("reference", ref_ids), ("edition", ed_ids)):
        for duplicate in sorted(k for k, n in Counter(ids).items() if n > 1):
            faults.append(f"{name}: {duplicate} appears more than once")
    if ref_ids != ed_ids:
        missing = [i for i in ref_ids if i not in ed_ids]
        extra = [i for i in ed_ids if i not in ref_ids]
        if missing:
            faults.append("missing from the edition: " + ", ".join(missing))
        if extra:
            faults.append("not in the reference: " + ", ".join(extra))
        if not missing and not extra:
            first = next(a for a, b in zip(ref_ids, ed_ids) if a != b)
            faults.append(f"the ids are in another order, first at {first}")

    by_id = {entry[0]: entry for entry in edition}
    for key, ref_raw, _ in reference:
        if key not in by_id:
            continue
        _, ed_raw, line = by_id[key]
        where = f"line {line} {key}"
        if not CYRILLIC.search(ref_raw) and ed_raw != ref_raw.replace("\u00a9", "(c)"):
            faults.append(f"{where}: not Russian in the reference, so it must stay the same bytes")
        checks = (
            ("placeholders", lambda raw: PLACEHOLDER.findall(raw.replace("%%", ""))),
            ("line breaks", lambda raw: raw.count("\\n")),
            ("doubled quotes", lambda raw: raw.count('""')),
        )
        for what, measure in checks:
            if measure(ref_raw) != measure(ed_raw):
                faults.append(f"{where}: {what} {measure(ref_raw)} became {measure(ed_raw)}")
        # A translation may name more actions or variables, never fewer.
        lost = Counter(KEYWORDS.findall(ref_raw)) - Counter(KEYWORDS.findall(ed_raw))
        if lost:
            faults.append(f"{where}: lost {sorted(lost.elements())}")
        text = unescape(ed_raw)
        if CYRILLIC.search(text):
            faults.append(f"{where}: Cyrillic left")
        try:
            text.encode(codepage)
        except UnicodeEncodeError as error:
            faults.append(f"{where}: {text[error.start:error.end]!r} is not in {codepage}")
        # The edition also serves code pages that share only ASCII with 1252 (932, 1250 ...):
        # any other character (a curly quote, a dash, the copyright sign) would turn into
        # another one, or "?", there.
        beyond = sorted({c for c in text if ord(c) > 127})
        if beyond:
            faults.append(f"{where}: not plain ASCII: {''.join(beyond)!r}")
    return faults


def main(argv):
    root = Path(__file__).resolve().parent.parent
    reference = Path(argv[1]) if len(argv) > 1 else root / "src/resources/strings.rc"
    edition = Path(argv[2]) if len(argv) > 2 else root / "src/resources/en/strings.rc"
    codepage = argv[3] if len(argv) > 3 else "cp1252"
    ref_entries, ed_entries = read_table(reference), read_table(edition)
    faults = compare(ref_entries, ed_entries, codepage)
    for fault in faults:
        print(f"{edition}: {fault}", file=sys.stderr)
    if faults:
        return 1
    print(f"{edition}: {len(ed_entries)} entries match {reference}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
