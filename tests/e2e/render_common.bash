# Helpers for the end-to-end tests of zemblar-render: a scratch working directory whose data/ is
# the committed render test scene, and the renderer run in it. Sourced by tests/e2e/render_*.sh;
# expects ZEMBLAR_BUILD, ZEMBLAR_SOURCE and a running X display (DISPLAY).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/music.bash"

: "${ZEMBLAR_BUILD:?set ZEMBLAR_BUILD to the build directory}"
: "${ZEMBLAR_SOURCE:?set ZEMBLAR_SOURCE to the source directory}"
export MESA_SHADER_CACHE_DISABLE=true
RENDER="$ZEMBLAR_BUILD/zemblar-render"
SCENE="$ZEMBLAR_SOURCE/tests/render/data"
[ -x "$RENDER" ] || { echo "FAIL: no $RENDER" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/data"
ln -s "$SCENE/shaders" "$WORK/data/shaders"
ln -s "$SCENE/meshes" "$WORK/data/meshes"
cp "$SCENE/vessikscript.txt" "$WORK/data/vessikscript.txt"
cd "$WORK"

fail() {
  echo "FAIL: $*" >&2
  echo "--- errors of the last run ---" >&2; tr '\r' '\n' < "$WORK/err.txt" | tail -20 >&2 2>/dev/null || true
  exit 1
}

# Runs the renderer with the given arguments; its status goes to STATUS, output to out.txt/err.txt.
render() {
  set +e
  "$RENDER" "$@" > "$WORK/out.txt" 2> "$WORK/err.txt"
  STATUS=$?
  set -e
}

