# zemblar-render's jobs stopped: SIGTERM to the renderer stops every job and encoder within a second
# and leaves no segment (not even an earlier run's), temporary or unfinished file; while the jobs
# run their segments exist only under temporary names. (Each signal, killed outright: unit test.)
source "$(dirname "$0")/common.bash"
use_render_scene
PIDS="" # a failed check may leave jobs running: stop the render's own processes, by id, with the rest
trap 'for pid in $PIDS; do ps -o cmd= -p "$pid" | grep -q -e /proc/self/exe -e ffmpeg && kill -KILL "$pid"
  done 2>/dev/null; cleanup' EXIT

echo stale > show.part1of2.mp4 # an earlier run's segment, to be replaced by this run's: removed too
"$ZEMBLAR_BUILD/zemblar-render" show.mp4 --jobs 2 --fps 240 --size 1920x1080 --msaa 4 > out.txt 2> err.txt &
ZEMBLAR_PID=$!
for _ in $(seq 600); do
  [ "$(compgen -G 'show.part?of2.mp4.partial' | wc -l)" -eq 2 ] && break
  kill -0 "$ZEMBLAR_PID" 2>/dev/null || fail "the render ended before it was stopped"
  sleep 0.1
done
[ ! -e show.mp4 ] && [ ! -e show.part2of2.mp4 ] || fail "a final name while rendering: $(ls)"
JOBS=$(ps -o pid= --ppid "$ZEMBLAR_PID" || true)
ENCODERS=$(for pid in $JOBS; do ps -o pid= --ppid "$pid" || true; done)
PIDS=$(echo $ZEMBLAR_PID $JOBS $ENCODERS)
[ "$(echo $JOBS | wc -w)" -eq 2 ] && [ "$(echo $ENCODERS | wc -w)" -eq 2 ] ||
  fail "not 2 jobs and 2 encoders: $(ps -o pid,cmd -p ${PIDS// /,})"

kill -TERM "$ZEMBLAR_PID"
sleep 1
for pid in $PIDS; do
  state=$(ps -o stat= -p "$pid" || true)
  [ -z "$state" ] || [ "${state:0:1}" = Z ] || fail "$(ps -o pid,cmd= -p "$pid" | tail -1) still runs after 1 s"
done
STATUS=0; wait "$ZEMBLAR_PID" || STATUS=$?; ZEMBLAR_PID=""
[ "$STATUS" -eq 143 ] && grep -q "stopped by a signal" err.txt || fail "status $STATUS"
[ -z "$(compgen -G 'show*')" ] || fail "left $(ls)"
echo "ok"
