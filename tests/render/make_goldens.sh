#!/usr/bin/env bash
# Renders the test scene (tests/render/data) and stores its golden frames in tests/render/golden.
# Usage: tests/render/make_goldens.sh BUILD_DIR   (needs a display, e.g. under xvfb-run)
set -euo pipefail
build=$(cd "${1:?usage: make_goldens.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$here"
MESA_SHADER_CACHE_DISABLE=true "$build/zemblar-render" "$work/frames" > /dev/null
/usr/bin/python3 "$here/golden.py" make "$work/frames" "$here/golden"
ls -l "$here/golden"
