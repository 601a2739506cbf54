#!/usr/bin/env bash
# png2rgba end to end: a good file gives its size on stdout and the raw RGBA
# (checked against Pillow), a bad one the decoder's message and status 1, and
# wrong arguments or unreadable files status 2.
set -u
tool="$ZEMBLAR_BUILD/png2rgba"
png="$ZEMBLAR_SOURCE/fuzz/corpus/png/basn6a08.png"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

out=$("$tool" "$png" "$work/out.rgba"); status=$?
[ $status -eq 0 ] || fail "status $status for a good file"
[ "$out" = "32 32" ] || fail "printed '$out'"
/usr/bin/python3 - "$png" "$work/out.rgba" <<'PY' || fail "pixels differ from Pillow"
import sys
from PIL import Image
expected = Image.open(sys.argv[1]).convert("RGBA").tobytes()
sys.exit(0 if open(sys.argv[2], "rb").read() == expected else 1)
PY

printf 'this is not a png file, only some text' > "$work/bad.png"
out=$("$tool" "$work/bad.png" "$work/bad.rgba"); status=$?
[ $status -eq 1 ] || fail "status $status for a bad file"
[ "$out" = "Decode png failed: 28" ] || fail "printed '$out'"

"$tool" "$png" >/dev/null 2>&1; [ $? -eq 2 ] || fail "missing argument not status 2"
"$tool" "$work/none.png" "$work/x.rgba" >/dev/null 2>&1; [ $? -eq 2 ] || fail "missing input not status 2"
"$tool" "$work" "$work/x.rgba" >/dev/null 2>&1; [ $? -eq 2 ] || fail "directory input not status 2"
"$tool" "$png" "$work/no/such/dir/x.rgba" >/dev/null 2>&1; [ $? -eq 2 ] || fail "unwritable output not status 2"
echo "png2rgba ok"
