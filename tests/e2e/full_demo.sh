# The whole demo with its own data/, start to finish: the start question answered No (windowed),
# the music played through the dummy audio driver, and "END" ending the process with status 0 no
# earlier than its time, with none of the failure messages on the way. (What each line does is
# checked in seconds by zemblar --check, tests/e2e/script_check.sh.)
source "$(dirname "$0")/common.bash"
rm -rf data
ln -s "$ZEMBLAR_SOURCE/data" data
end_line=$(grep -E '^[0-9.]+ [^ ]+ END' data/vessikscript.txt | tail -1)
start_answered
# The track is about three minutes; a slow, shared machine only lowers the frame rate, since
# events follow the music clock.
expect_clean_exit 540
end_ms=$(awk '{ printf "%d", $1 * 1000 }' <<< "$end_line")
[ "$ELAPSED_MS" -ge "$end_ms" ] || fail "ended after ${ELAPSED_MS} ms, before END at ${end_ms} ms"
[ "$(tail -1 out.txt)" = "Doing: $end_line" ] || fail "the run did not end on the END line"
failures="nonexistant|Couldn't|failed local|You need to create|Error (compiling|linking) shader|Decode png failed"
failures+="|No effect bound|Missing words|append would make a cycle|init:"
! grep -E "$failures" out.txt err.txt || fail "failure messages in the output"
echo "ok: ${ELAPSED_MS} ms"
