# zemblar-render of the committed test scene at 60 frames per second matches the golden frames of
# tests/render/golden within a small tolerance (see tests/render/golden.py). After an intended
# visual change, regenerate them with tests/render/make_goldens.sh and look at them.
source "$(dirname "$0")/render_common.bash"

render frames
[ "$STATUS" -eq 0 ] || fail "render: status $STATUS"
/usr/bin/python3 "$ZEMBLAR_SOURCE/tests/render/golden.py" compare frames "$ZEMBLAR_SOURCE/tests/render/golden" \
  || { cp frames/*.diff.png /tmp/ 2>/dev/null || true; fail "frames differ from the goldens (diff images in /tmp)"; }
echo "ok"
