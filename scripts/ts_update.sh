#!/bin/sh
# ts_update.sh MODULE [NEW_SOURCE.cpp ...]: updates res/translations/MODULE_zh_CN.ts from the
# sources it already covers (plus any given), drops texts no source has any more, and fills new
# ones from tables/MODULE.tsv. Fails when a text has no translation. After a merge, take either
# side of a conflicting catalogue and run this.
set -eu
cd "$(dirname "$0")/.."
module=$1
shift
ts=res/translations/${module}_zh_CN.ts
table=res/translations/tables/${module}.tsv
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
sources=$( (grep -o 'filename="[^"]*"' "$ts" 2>/dev/null | sed 's/filename="..\/..\///; s/"$//'; for f in "$@"; do echo "$f"; done) | sort -u)
files=""
for f in $sources; do
    # A source that was moved or deleted drops out; its texts go with -no-obsolete.
    [ -f "$f" ] || continue
    files="$files $f"
    header=${f%.cpp}.h
    [ "$header" != "$f" ] && [ -f "$header" ] && files="$files $header"
done
# shellcheck disable=SC2086
"$lupdate" -silent -no-obsolete $files -ts "$ts" -target-language zh_CN 2>/dev/null
python3 scripts/ts_fill.py "$ts" "$table"
if grep -q 'type="unfinished"' "$ts"; then
    echo "$ts: texts without a translation in $table" >&2
    exit 1
fi
