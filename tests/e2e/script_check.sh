# zemblar --check: the shipped data passes with status 0 and no output (every line runs in a real
# demo without a failure message) and ends by END within 5 s after the 164 s track, a script with a
# problem gives "LINE: message" and status 1 (every kind of problem, with every line end: unit
# test), and bad arguments give the usage and 2.
source "$(dirname "$0")/common.bash"
printf -- '-1 a new demoeffect\r\n-1 a wobble\r\n' > bad.txt
STATUS=0; "$ZEMBLAR_BIN" --check bad.txt > out.txt 2> err.txt || STATUS=$?
[ "$STATUS" -eq 1 ] && [ "$(cat out.txt)" = "2: unknown command wobble" ] || fail "bad script: status $STATUS"

STATUS=0; (cd "$ZEMBLAR_SOURCE" && "$ZEMBLAR_BIN" --check) > out.txt 2> err.txt || STATUS=$?
[ "$STATUS" -eq 0 ] && [ ! -s out.txt ] || fail "shipped data: status $STATUS"
end=$(awk '$2 != "END" && $3 == "END" { print $1 }' "$ZEMBLAR_SOURCE/data/vessikscript.txt")
awk -v t="$end" 'BEGIN { exit !(t > 164 && t < 169) }' || fail "shipped END at '$end', not just after the track"

for args in "--check a b" "--edit --at -3" "--edit --at x" "--frobnicate"; do
  STATUS=0; "$ZEMBLAR_BIN" $args > out.txt 2> err.txt || STATUS=$?
  [ "$STATUS" -eq 2 ] && grep -q "usage: zemblar" err.txt || fail "'$args': status $STATUS or no usage"
done
echo ok
