# png2rgba end to end: a good file gives its size on stdout and its raw RGBA (the pixels themselves
# are checked by the decoder's conformance test), a bad one the decoder's message and status 1, and
# wrong arguments or unreadable files status 2.
source "$(dirname "$0")/common.bash"
tool="$ZEMBLAR_BUILD/png2rgba"
png="$ZEMBLAR_SOURCE/fuzz/corpus/png/basn6a08.png"

out=$("$tool" "$png" out.rgba) && [ "$out" = "32 32" ] || fail "good file: printed '$out'"
[ "$(stat -c %s out.rgba)" -eq $((32 * 32 * 4)) ] || fail "good file: $(stat -c %s out.rgba) bytes written"

printf 'this is not a png file, only some text' > bad.png
set +e
out=$("$tool" bad.png bad.rgba); status=$?
[ $status -eq 1 ] && [ "$out" = "Decode png failed: 28" ] || fail "bad file: status $status, printed '$out'"
for args in "$png" "none.png x.rgba" "data x.rgba" "$png no/such/dir/x.rgba"; do
  "$tool" $args > /dev/null 2>&1
  [ $? -eq 2 ] || fail "status not 2 for: $args"
done
echo "png2rgba ok"
