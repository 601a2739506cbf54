#!/usr/bin/env bash
# Party release of a demo: the player built for Linux x86-64 and for 64-bit Windows, each packed
# with the demo's data/, the libraries it needs and a README.txt for the organisers:
#
#   tools/release.sh [DIR]      (DIR: a folder holding data/; default the project's own demo)
#
# writes dist/NAME-linux-x86_64.tar.gz and dist/NAME-windows-x64.zip in the working directory,
# NAME being DIR's folder name ("zemblar" for the project's own demo). Each unpacks to NAME/.
#
# SDL2, SDL2_mixer and GLEW are built from Debian's source packages (apt-get source; the script
# adds a deb-src entry when apt has none) with only what the player uses. Linux: shared libraries
# beside the player, found through its rpath $ORIGIN; SDL loads X11, Wayland, ALSA and PulseAudio
# itself when it starts, so nothing but libc, libm, libGL and the X client libraries has to be on
# the machine; libstdc++ and libgcc are linked into the player. Windows: cross-built with
# mingw-w64 (posix threads), the DLLs beside the exe, the C and C++ runtimes linked into each.
# The third-party builds are cached by version under ${ZEMBLAR_CACHE:-~/.cache/zemblar}, so only
# the first run builds them (a few minutes); the player itself is built in build-release/.
set -euo pipefail
SRC=$(cd "$(dirname "$(realpath "$0")")/.." && pwd)
DIR=$(realpath "${1:-$SRC}")
if [ "$DIR" = "$SRC" ]; then NAME=zemblar; else NAME=$(basename "$DIR"); fi
JOBS=${JOBS:-$(nproc)}
CACHE=${ZEMBLAR_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zemblar}
BUILD=$SRC/build-release
DIST=$PWD/dist
# Bump when the way the libraries are configured changes, so cached builds are not reused.
RECIPE=1

die() { echo "release: $*" >&2; exit 2; }
[ -f "$DIR/data/vessikscript.txt" ] || die "$DIR has no data/vessikscript.txt: give the folder that holds the demo's data/"
[[ "$NAME" =~ ^[A-Za-z0-9][A-Za-z0-9._-]*$ ]] || die "'$NAME' is not a usable release name (letters, digits, . _ -)"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
start=$(date +%s)
say() { echo "=== release: $* ($(( $(date +%s) - start )) s)"; }

# --- Debian's sources --------------------------------------------------------------------------
# Without a deb-src entry apt knows no source packages; add one for the Debian mirror apt already
# uses, signed by the same keyring (apt refuses two entries for one mirror with different keys).
ensure_source_index() {
  [ -n "$(version_of libsdl2)" ] && return 0
  local found mirror keyring entry
  # deb822 files: the first stanza whose URIs hold a /debian mirror, with its Signed-By.
  found=$({ cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } | awk '
    function take() { if (uri != "" && !done) { print uri, key; done = 1 } uri = ""; key = "" }
    /^$/ { take() }
    /^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) uri = $i }
    /^Signed-By:/ { key = $2 }
    END { take() }')
  mirror=${found%% *}
  keyring=${found#"$mirror"}
  keyring=${keyring# }
  if [ -z "$mirror" ]; then
    # One-line files: the first "deb" line for a /debian mirror, its [options] kept.
    found=$({ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
      awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print; exit } }')
    entry=$(echo "$found" | sed -E 's/^deb[[:space:]]+/deb-src /; s#(/debian/?)[[:space:]].*#\1 bookworm main#')
    [ -n "$found" ] || entry="deb-src http://deb.debian.org/debian bookworm main"
  else
    entry="deb-src ${keyring:+[signed-by=$keyring] }$mirror bookworm main"
  fi
  echo "release: adding '$entry' to /etc/apt/sources.list.d/zemblar-src.list"
  echo "$entry" | $SUDO tee /etc/apt/sources.list.d/zemblar-src.list >/dev/null
  $SUDO apt-get update -qq
}

# source_dir PACKAGE: the unpacked source tree of the candidate version (Debian's patches applied),
# fetched once into the cache.
# (awk reads to the end: a reader that stops early would fail the pipe under pipefail.)
version_of() { apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ && v == "" { v = $2 } END { print v }'; }
source_dir() {
  local pkg=$1 ver dir
  ver=$(version_of "$pkg")
  dir=$CACHE/src/$pkg-$ver
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir" && mkdir -p "$CACHE/src/download"
    # apt drops to its own user to download; a cache under root's home is not writable for it.
    (cd "$CACHE/src/download" && apt-get source -qq --download-only "$pkg=$ver" 2>&1 | grep -v "unsandboxed" >&2 || true)
    dpkg-source -x --no-check "$CACHE/src/download/${pkg}_${ver#*:}.dsc" "$dir" >/dev/null ||
      die "could not unpack the Debian source of $pkg $ver"
    touch "$dir/.unpacked"
  fi
  echo "$dir"
}

# --- Third-party libraries ---------------------------------------------------------------------
# cmake_install SOURCE BUILD PREFIX ARGS...: configure, build and install one library.
cmake_install() {
  local src=$1 build=$2 prefix=$3; shift 3
  rm -rf "$build"
  cmake -S "$src" -B "$build" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_LIBDIR=lib "$@" >"$build.log" 2>&1 &&
    cmake --build "$build" -j "$JOBS" >>"$build.log" 2>&1 &&
    cmake --install "$build" >>"$build.log" 2>&1 || { tail -30 "$build.log" >&2; die "building $src failed (log: $build.log)"; }
}

# Only what the player uses: video (X11 and Wayland, OpenGL), audio, events, timers, message boxes.
SDL_OPTIONS=(-DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_CCACHE=OFF -DSDL_JOYSTICK=OFF
  -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_RENDER=OFF -DSDL_VULKAN=OFF)
SDL_LINUX_OPTIONS=(-DSDL_RPATH=OFF -DSDL_X11_SHARED=ON -DSDL_WAYLAND_SHARED=ON -DSDL_ALSA_SHARED=ON
  -DSDL_PULSEAUDIO_SHARED=ON -DSDL_PIPEWIRE=OFF -DSDL_JACK=OFF -DSDL_ESD=OFF -DSDL_ARTS=OFF -DSDL_NAS=OFF
  -DSDL_SNDIO=OFF -DSDL_OSS=OFF -DSDL_LIBSAMPLERATE=OFF -DSDL_KMSDRM=OFF -DSDL_RPI=OFF -DSDL_VIVANTE=OFF
  -DSDL_DBUS=OFF -DSDL_IBUS=OFF)
# SDL_mixer's own decoders only (dr_mp3, stb_vorbis, dr_flac, WAV): no codec library to carry.
MIXER_OPTIONS=(-DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_MOD=OFF
  -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC_LIBFLAC=OFF -DSDL2MIXER_FLAC_DRFLAC=ON
  -DSDL2MIXER_MP3_MPG123=OFF -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_WAVE=ON)
GLEW_OPTIONS=(-DBUILD_UTILS=OFF -DBUILD_SHARED_LIBS=ON)
WINDOWS_TOOLCHAIN=(-DCMAKE_TOOLCHAIN_FILE="$SRC/tools/release/mingw-w64.cmake")

# build_libraries PLATFORM: SDL2, SDL2_mixer and GLEW for linux or windows into the cached prefix
# named by their versions; prints the prefix.
build_libraries() {
  local platform=$1 sdl mixer glew prefix extra=() link=()
  sdl=$(source_dir libsdl2) mixer=$(source_dir libsdl2-mixer) glew=$(source_dir glew)
  prefix=$CACHE/$platform-r$RECIPE-$(basename "$sdl")-$(basename "$mixer")-$(basename "$glew")
  if [ ! -f "$prefix/.built" ]; then
    say "building SDL2, SDL2_mixer and GLEW for $platform (once; cached in $prefix)" >&2
    rm -rf "$prefix" && mkdir -p "$prefix"
    if [ "$platform" = linux ]; then
      extra=(-DCMAKE_INSTALL_RPATH='$ORIGIN')
      cmake_install "$sdl" "$prefix.sdl" "$prefix" "${extra[@]}" "${SDL_OPTIONS[@]}" "${SDL_LINUX_OPTIONS[@]}"
    else
      # The C runtime parts GCC would load from its own DLLs are linked into each library instead.
      extra=("${WINDOWS_TOOLCHAIN[@]}" -DZEMBLAR_MINGW_PREFIX="$prefix")
      link=(-DCMAKE_SHARED_LINKER_FLAGS="-static-libgcc")
      cmake_install "$sdl" "$prefix.sdl" "$prefix" "${extra[@]}" "${link[@]}" "${SDL_OPTIONS[@]}"
    fi
    cmake_install "$mixer" "$prefix.mixer" "$prefix" "${extra[@]}" "${link[@]}" "${MIXER_OPTIONS[@]}"
    cmake_install "$glew/build/cmake" "$prefix.glew" "$prefix" "${extra[@]}" "${link[@]}" "${GLEW_OPTIONS[@]}"
    rm -rf "$prefix.sdl" "$prefix.mixer" "$prefix.glew" "$prefix".*.log
    touch "$prefix/.built"
  fi
  echo "$prefix"
}

# --- The player ----------------------------------------------------------------------------------
# build_player PLATFORM PREFIX: the player alone, against the libraries in PREFIX.
build_player() {
  local platform=$1 prefix=$2 build=$BUILD/$1 args=()
  # CMake keeps the library paths it found: a build made against other library builds (other
  # versions, another cache) starts afresh.
  [ "$(cat "$build/.libraries" 2>/dev/null)" = "$prefix" ] || rm -rf "$build"
  mkdir -p "$build" && echo "$prefix" > "$build/.libraries"
  if [ "$platform" = linux ]; then
    cc -O2 -c "$SRC/tools/release/glibc-compat.c" -o "$build/glibc-compat.o"
    args=(-DCMAKE_EXE_LINKER_FLAGS="-static-libstdc++ -static-libgcc -Wl,--as-needed $build/glibc-compat.o"
      -DCMAKE_BUILD_WITH_INSTALL_RPATH=ON
      -DCMAKE_INSTALL_RPATH='$ORIGIN')
  else
    # -static takes libstdc++, libgcc and winpthread from their archives; SDL2, SDL2_mixer and GLEW
    # are named by their import libraries and stay DLLs.
    args=("${WINDOWS_TOOLCHAIN[@]}" -DZEMBLAR_MINGW_PREFIX="$prefix" -DCMAKE_EXE_LINKER_FLAGS="-static")
  fi
  # Our own pkg-config files first; for Windows nothing from the build machine.
  if [ "$platform" = linux ]; then
    export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
  else
    export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
  fi
  cmake -S "$SRC" -B "$build" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release -DZEMBLAR_PLAYER_ONLY=ON \
    -DCMAKE_PREFIX_PATH="$prefix" "${args[@]}" >"$build.log" 2>&1 &&
    cmake --build "$build" -j "$JOBS" --target zemblar >>"$build.log" 2>&1 ||
    { tail -30 "$build.log" >&2; die "building the player for $platform failed (log: $build.log)"; }
  unset PKG_CONFIG_PATH PKG_CONFIG_LIBDIR
}

# --- Packing -------------------------------------------------------------------------------------
organisers_readme() {
  local platform=$1 start keysline
  if [ "$platform" = linux ]; then
    start="./$NAME  (from a terminal, or a double click in a file manager; it finds data/ beside itself)"
  else
    start="$NAME.exe  (a double click, or from a command prompt; it finds data\\ beside itself)"
  fi
  keysline="Escape, Alt-F4 or closing the window ends the demo; it also ends by itself."
  cat <<EOF
$NAME - a real-time demo made with Zemblar

Start:   $start
         It asks "Would You Like to Run in FullScreen mode?" (Return: fullscreen 1280 x 720,
         Escape: a 1280 x 720 window). For launchers and scripts:
           $NAME --fullscreen     or     $NAME --window
         answer that question in advance.
Keys:    $keysline
         F5 restarts the demo, F1 switches between fullscreen and window and restarts.
Needs:   a graphics driver with OpenGL 3.3 (compatibility profile); nothing else to install.
EOF
  if [ "$platform" = linux ]; then
    cat <<EOF
         Linux x86-64 with glibc 2.35 or newer (Ubuntu 22.04, Mint 21, Debian 12 and later),
         an X11 or Wayland desktop, sound through PulseAudio/PipeWire or ALSA. Everything else
         (SDL2, SDL2_mixer, GLEW) is in this folder.
EOF
  else
    cat <<EOF
         Windows 10 or 11, 64-bit. SDL2, SDL2_mixer and GLEW are the DLLs in this folder.
EOF
  fi
  local listing="the event listing goes to standard output"
  [ "$platform" = linux ] || listing="$listing ($NAME.exe > events.txt keeps it)"
  cat <<EOF
Sound:   without a sound device it shows "BASS error" and runs on the clock, silent.
         The demo writes no files: it runs from read-only media.
Output:  vsync on; $listing.
EOF
}

# stage PLATFORM: a NAME/ folder with the demo's data/, the organisers' README.txt and the licences
# of the libraries that come with the player.
stage() {
  local dir=$BUILD/stage-$1/$NAME
  rm -rf "$BUILD/stage-$1" && mkdir -p "$dir/licenses"
  cp -r "$DIR/data" "$dir/data"
  cp "$(source_dir libsdl2)/LICENSE.txt" "$dir/licenses/SDL2.txt"
  cp "$(source_dir libsdl2-mixer)/LICENSE.txt" "$dir/licenses/SDL2_mixer.txt"
  cp "$(source_dir glew)/LICENSE.txt" "$dir/licenses/GLEW.txt"
  [ "$1" = linux ] || cp -L /usr/share/doc/mingw-w64-x86-64-dev/copyright "$dir/licenses/mingw-w64-runtime.txt"
  organisers_readme "$1" | if [ "$1" = windows ]; then sed 's/$/\r/'; else cat; fi > "$dir/README.txt"
  echo "$dir"
}

# What the bundle asks of the machine. Linux: besides its own libraries only libc, libm, the loader,
# libGL and libX11, and nothing newer than glibc 2.35 (Ubuntu 22.04). Windows: no GCC or winpthread
# runtime DLL (those are named lib*.dll); everything else it names is part of Windows.
check_linux_bundle() {
  local dir=$1 needed newest
  needed=$(for f in "$dir/$NAME" "$dir"/lib*.so*; do readelf -d "$f" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; done | sort -u |
    grep -vxE 'libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2|libGL\.so\.1|libX11\.so\.6' || true)
  for lib in $needed; do [ -e "$dir/$lib" ] || die "the Linux bundle needs $lib, which it does not bring"; done
  newest=$(objdump -T "$dir/$NAME" "$dir"/lib*.so* | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -1)
  [ "$(printf '%s\n' "$newest" GLIBC_2.35 | sort -V | tail -1)" = GLIBC_2.35 ] ||
    die "the Linux bundle needs $newest, newer than the glibc 2.35 of Ubuntu 22.04"
}
check_windows_bundle() {
  local dir=$1 dll
  for dll in $(x86_64-w64-mingw32-objdump -p "$dir/$NAME.exe" "$dir"/*.dll | sed -n 's/.*DLL Name: //p' | sort -u); do
    [ -e "$dir/$dll" ] && continue
    case "$dll" in lib*) die "the Windows bundle needs $dll, which it does not bring" ;; esac
  done
}

pack_linux() {
  local prefix=$1 dir lib
  dir=$(stage linux)
  cp "$BUILD/linux/zemblar" "$dir/$NAME"
  # Each library under the name the loader asks for (its soname), stripped of debugging symbols.
  for lib in libSDL2-2.0.so.0 libSDL2_mixer-2.0.so.0 libGLEW.so.2.2; do
    cp -L "$prefix/lib/$lib" "$dir/$lib"
  done
  strip --strip-unneeded "$dir/$NAME" "$dir"/lib*.so*
  check_linux_bundle "$dir"
  tar -C "$BUILD/stage-linux" --owner=0 --group=0 -czf "$DIST/$NAME-linux-x86_64.tar.gz" "$NAME"
}

pack_windows() {
  local prefix=$1 dir
  dir=$(stage windows)
  cp "$BUILD/windows/zemblar.exe" "$dir/$NAME.exe"
  cp "$prefix/bin/SDL2.dll" "$prefix/bin/SDL2_mixer.dll" "$prefix/bin/glew32.dll" "$dir/"
  x86_64-w64-mingw32-strip --strip-unneeded "$dir/$NAME.exe" "$dir"/*.dll
  check_windows_bundle "$dir"
  rm -f "$DIST/$NAME-windows-x64.zip"
  (cd "$BUILD/stage-windows" && zip -qrX "$DIST/$NAME-windows-x64.zip" "$NAME")
}

mkdir -p "$CACHE" "$BUILD" "$DIST"
ensure_source_index
linux_prefix=$(build_libraries linux)
build_player linux "$linux_prefix"
pack_linux "$linux_prefix"
say "dist/$NAME-linux-x86_64.tar.gz"
windows_prefix=$(build_libraries windows)
build_player windows "$windows_prefix"
pack_windows "$windows_prefix"
say "dist/$NAME-windows-x64.zip"
cd "$DIST/.." && ls -l "dist/$NAME-linux-x86_64.tar.gz" "dist/$NAME-windows-x64.zip"
