#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Zemblar needs.
# Quick and quiet when everything is already there; works as root or through sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
  xvfb xauth xdotool x11-utils
  xfonts-base  # core X fonts: SDL's X11 message boxes cannot be drawn without them
  # The sound server's latency query (headers only: the library is loaded at run time) and the
  # sound-against-picture bench, which runs a private PulseAudio with a null sink.
  libpulse-dev pulseaudio pulseaudio-utils
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev llvm zlib1g-dev libdeflate-dev
  # Libraries the benchmarks measure the demo's own decoders against (bench/ only).
  libtinyobjloader-dev libspng-dev libpng-dev
  python3 python3-numpy python3-pil python3-png
  lame ffmpeg fonts-dejavu-core
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
