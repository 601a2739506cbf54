# Fullscreen chosen at the start question (Return = Yes); holding Escape ends the demo with
# status 0 after the events that were due have run.
source "$(dirname "$0")/common.bash"
make_music 5
printf -- '-1 box new demoeffect\n-1 SCENE append box\n0.2 box scale 3\n' > data/vessikscript.txt
start_answered Return
window_titled "Zemblar" >/dev/null || fail "no demo window"
sleep 1.5
hold_key Escape
expect_clean_exit 10
line_of "Doing: 0.2 box scale 3" >/dev/null
echo "ok"
