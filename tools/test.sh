#!/usr/bin/env bash
# Builds Zemblar and runs every test: the normal build first, then the whole suite again in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer. GL and end-to-end tests run under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

export MESA_SHADER_CACHE_DISABLE=true
export SDL_AUDIODRIVER=dummy
JOBS=${JOBS:-$(nproc)}

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
  xvfb-run -a -s "-screen 0 1280x720x24" ctest --test-dir "$dir" --output-on-failure -j "$JOBS" --timeout 900
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "${ZEMBLAR_SKIP_SANITIZE:-0}" != 1 ]; then
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DZEMBLAR_SANITIZE=ON -DZEMBLAR_BENCH=OFF
fi
