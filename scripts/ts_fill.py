#!/usr/bin/env python3
"""ts_fill.py FILE.ts TABLE.tsv: fills unfinished translations from a tab-separated table
(source text, translation), one pair per line; "\\n" stands for a line break."""
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


def fill(message):
    block = message.group(0)
    if 'type="unfinished"' not in block:
        return block
    source = html.unescape(re.search(r"<source>(.*?)</source>", block, re.S).group(1))
    if source not in table:
        missing.append(source)
        return block
    translation = html.escape(table[source], quote=False)
    # Chinese has one plural form: a numerus message gets the one text as its only form.
    if 'numerus="yes"' in block:
        translation = "<numerusform>" + translation + "</numerusform>"
    return re.sub(r'<translation type="unfinished">.*?</translation>',
                  lambda _: "<translation>" + translation + "</translation>", block, flags=re.S)


text = re.sub(r"<message( numerus=\"yes\")?>.*?</message>", fill, text, flags=re.S)
open(ts_path, "w", encoding="utf-8").write(text)
for m in missing:
    print("no translation for:", repr(m), file=sys.stderr)
sys.exit(1 if missing else 0)
