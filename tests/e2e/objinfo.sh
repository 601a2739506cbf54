# objinfo end to end: counts and messages of a good file, status 1 where the demo cannot load the
# mesh, status 2 for wrong arguments or unreadable files.
source "$(dirname "$0")/common.bash"
tool="$ZEMBLAR_BUILD/objinfo"

printf 'v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\nf 1 2 9\n' > quad.obj
out=$("$tool" quad.obj) && [ "$out" = $'Skipped face with a bad index in quad.obj line 6\n4 2' ] ||
  fail "good file: printed '$out'"
printf '# no faces\nv 1 2 3\n' > none.obj
set +e
out=$("$tool" none.obj); status=$?
[ $status -eq 1 ] && [ "$out" = "Couldn't load none.obj" ] || fail "no faces: status $status, printed '$out'"
for args in "" "quad.obj quad.obj" "missing.obj" "data"; do
  "$tool" $args > /dev/null 2>&1
  [ $? -eq 2 ] || fail "status not 2 for: '$args'"
done
echo "objinfo ok"
