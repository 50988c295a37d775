#!/usr/bin/env python3
"""ts_fill.py FILE.ts TABLE.tsv: fills unfinished translations from a tab-separated table
(source text, translation), one pair per line. Sources are matched after XML unescaping."""
import html
import re
import sys

ts_path, table_path = sys.argv[1], sys.argv[2]
table = {}
with open(table_path, encoding="utf-8") as f:
    for line in f:
        line = line.rstrip("\n")
        if line and not line.startswith("#"):
            src, dst = line.split("\t", 1)
            table[src.replace("\\n", "\n")] = dst.replace("\\n", "\n")

text = open(ts_path, encoding="utf-8").read()
missing = []

def fill(match):
    source = html.unescape(match.group(1))
    if source not in table:
        missing.append(source)
        return match.group(0)
    return (match.group(0).split("<translation")[0]
            + "<translation>" + html.escape(table[source], quote=False) + "</translation>")

text = re.sub(r"<source>(.*?)</source>(?:(?!<source>).)*?<translation type=\"unfinished\">.*?</translation>",
              fill, text, flags=re.S)
open(ts_path, "w", encoding="utf-8").write(text)
for m in missing:
    print("no translation for:", repr(m), file=sys.stderr)
sys.exit(1 if missing else 0)
