#!/usr/bin/env bash
# Installs the Debian packages the build needs that are not on the machine yet.
# Safe to run again: it asks apt-get only for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  ccache lld                 # the compiler cache every build uses; the faster linker
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev      # libFuzzer targets under fuzz/ (the runtime of the default clang)
  libsdl2-dev libpng-dev libjpeg-dev   # the real window, input, cursors; PNG and JPEG files
  libsdl2-mixer-dev          # SDL_mixer as the mixer benchmark's baseline
  xvfb xauth                 # trying the real window with no display attached
  libzstd-dev                # the patch-engine stand-in of the update library
  libsdl2-ttf-dev fonts-comic-neue fonts-wqy-microhei fonts-tlwg-loma-ttf  # launcher captions: comic, CJK, Thai faces
  libosmesa6-dev             # llvmpipe off screen: the software 3D device's benchmark baseline
  fonts-dejavu-core          # the outline faces the game's proportional fonts are made from (tools/fontmake)
  libmpg123-dev libmp3lame-dev   # media sounds: MP3 decoding; MP3 encoding for the content compiler and tests
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "setup: missing ${missing[*]}; run this as root or install sudo" >&2
      exit 1
    fi
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
