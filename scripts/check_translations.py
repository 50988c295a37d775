#!/usr/bin/env python3
"""check_translations.py FOLDER: fails when a zh_CN catalogue in FOLDER leaves a text unfinished or
"translated" as its own English words. File-type filters keep their English names."""
import glob
import html
import re
import sys

KEPT = re.compile(r"^[A-Z]+ ?\(\*\.[a-z]+\)$")  # "JPEG(*.jpg)"
faults = []
for path in sorted(glob.glob(sys.argv[1] + "/*_zh_CN.ts")):
    text = open(path, encoding="utf-8").read()
    for message in re.finditer(r"<message[^>]*>.*?</message>", text, re.S):
        block = message.group(0)
        source = html.unescape(re.search(r"<source>(.*?)</source>", block, re.S).group(1))
        if 'type="unfinished"' in block:
            faults.append(f"{path}: not translated: {source!r}")
            continue
        found = re.search(r"<translation>(.*?)</translation>", block, re.S)
        translation = html.unescape(found.group(1)) if found else ""
        if translation == source and re.search(r"[a-z]{2}", source) and not KEPT.match(source):
            faults.append(f"{path}: left in English: {source!r}")
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
