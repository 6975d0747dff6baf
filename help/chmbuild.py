#!/usr/bin/env python3
"""Builds chmbuild (help/chmbuild.pas), the help's compiler: Free Pascal's CHM writer, the one
chmcmd runs, with its full-text indexer taught the letters of the windows-1251 and -1252 code
pages. FPC's indexer keeps only a-z and 0-9 in a word and lower-cases ASCII alone, so the
search tab would find no Russian word of the help. The indexer is copied from FPC's sources
(Debian: fpc-source) and patched here; the build stops if its text ever changes.

usage: chmbuild.py OUT-DIR      (writes OUT-DIR/chmbuild)
"""
import pathlib
import subprocess
import sys

# (what FPC's htmlindexer.pas says, what it says here)
PATCHES = [
    ("Result := not (WordPtr^ in ['a'..'z', '0'..'9', #01, #$DE, #$FE]);",
     # A word also holds the letters of the 8-bit code pages: Cyrillic А-я and ё in 1251,
     # the accented Latin letters in 1252.
     "Result := not (WordPtr^ in ['a'..'z', '0'..'9', #01, #$B8, #$C0..#$FF]);"),
    ("AWord := LowerCase(AWord);", "AWord := WordLowerCase(AWord);"),
    ("Words := LowerCase(Words);", "Words := WordLowerCase(Words);"),
    ("function Max(ANumber, BNumber: DWord): DWord;",
     """function WordLowerCase(const S: String): String;
var
  I: Integer;
begin
  Result := LowerCase(S);
  for I := 1 to Length(Result) do
    if Result[I] in [#$C0..#$DF] then
      Result[I] := Chr(Ord(Result[I]) + 32)
    else if Result[I] = #$A8 then
      Result[I] := #$B8;
end;

function Max(ANumber, BNumber: DWord): DWord;"""),
]


def main():
    out = pathlib.Path(sys.argv[1]).resolve()
    sources = sorted(pathlib.Path("/usr/share/fpcsrc").glob("*/packages/chm/src"))
    if not sources:
        sys.exit("chmbuild.py: Free Pascal's sources are missing (Debian: fpc-source)")
    chm = sources[-1]
    text = (chm / "htmlindexer.pas").read_text(encoding="latin-1")
    for old, new in PATCHES:
        if text.count(old) != 1:
            sys.exit(f"chmbuild.py: {chm}/htmlindexer.pas no longer says {old!r}")
        text = text.replace(old, new)
    (out / "patched").mkdir(parents=True, exist_ok=True)
    (out / "units").mkdir(exist_ok=True)
    (out / "patched/htmlindexer.pas").write_text(text, encoding="latin-1")
    program = pathlib.Path(__file__).with_name("chmbuild.pas")
    subprocess.run(["fpc", "-O2", "-v0", f"-Fu{out / 'patched'}", f"-Fu{chm}", f"-FU{out / 'units'}",
                    f"-FE{out}", str(program)], check=True)


if __name__ == "__main__":
    main()
