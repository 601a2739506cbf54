# The whole demo with its own data/, start to finish: the start question answered No (windowed),
# the music played through the dummy audio driver, every script line run, and "END" ending the
# process with status 0 after the track, with none of the failure messages on the way.
source "$(dirname "$0")/common.bash"
rm -rf data
ln -s "$ZEMBLAR_SOURCE/data" data
end_line=$(grep -E '^[0-9.]+ [^ ]+ END' data/vessikscript.txt | tail -1)
[ -n "$end_line" ] || fail "the script has no END line"
end_ms=$(awk '{ printf "%d", $1 * 1000 }' <<< "$end_line")

start_answered
# The track is about three minutes; a slow, shared machine only lowers the frame rate, since
# events follow the music clock.
expect_clean_exit 540
[ "$ELAPSED_MS" -ge "$end_ms" ] || fail "ended after ${ELAPSED_MS} ms, before END at ${end_ms} ms"
[ "$(tail -1 out.txt)" = "Doing: $end_line" ] || fail "the run did not end on the END line"
for text in "Tried to find a nonexistant" "Couldn't" "failed local" "You need to create" \
            "Error compiling shader" "Error linking shader." "Decode png failed" "No effect bound" \
            "Missing words" "append would make a cycle" "init:"; do
  if grep -qF -- "$text" out.txt err.txt; then fail "output holds: $text"; fi
done
events=$(grep -cE '^-?[0-9]' data/vessikscript.txt)
ran=$(grep -c '^Doing:' out.txt)
startup=$(grep -cE '^-[0-9]' data/vessikscript.txt)
[ "$ran" -eq $((events - startup)) ] || fail "$ran events ran in frames, expected $((events - startup))"
echo "ok: ${ELAPSED_MS} ms, $ran timed events"
