# The tools end to end: png2rgba prints a good file's size and writes its raw RGBA (the pixels are
# checked by the decoder's conformance test), objinfo prints the loader's messages and the counts;
# a file the demo cannot use gives its message and status 1, wrong arguments or unreadable files 2.
source "$(dirname "$0")/common.bash"
png="$ZEMBLAR_SOURCE/fuzz/corpus/png/basn6a08.png"
png2rgba="$ZEMBLAR_BUILD/png2rgba" objinfo="$ZEMBLAR_BUILD/objinfo"

out=$("$png2rgba" "$png" out.rgba) && [ "$out" = "32 32" ] || fail "png2rgba, good file: printed '$out'"
[ "$(stat -c %s out.rgba)" -eq $((32 * 32 * 4)) ] || fail "png2rgba, good file: $(stat -c %s out.rgba) bytes written"
printf 'v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\nf 1 2 9\n' > quad.obj
out=$("$objinfo" quad.obj) && [ "$out" = $'Skipped face with a bad index in quad.obj line 6\n4 2' ] ||
  fail "objinfo, good file: printed '$out'"

printf 'this is not a png file, only some text' > bad.png
printf '# no faces\nv 1 2 3\n' > none.obj
set +e
out=$("$png2rgba" bad.png bad.rgba); status=$?
[ $status -eq 1 ] && [ "$out" = "Decode png failed: 28" ] || fail "png2rgba, bad file: status $status, printed '$out'"
out=$("$objinfo" none.obj); status=$?
[ $status -eq 1 ] && [ "$out" = "Couldn't load none.obj" ] || fail "objinfo, no faces: status $status, printed '$out'"
for args in "png2rgba $png" "png2rgba none.png x.rgba" "png2rgba data x.rgba" "png2rgba $png no/such/dir/x.rgba" \
  "objinfo" "objinfo quad.obj quad.obj" "objinfo missing.obj" "objinfo data"; do
  "$ZEMBLAR_BUILD/"$args > /dev/null 2>&1
  [ $? -eq 2 ] || fail "status not 2 for: $args"
done
echo ok
