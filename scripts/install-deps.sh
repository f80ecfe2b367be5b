#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: does nothing when everything is already there.
set -euo pipefail

# wine64 and the x86_64 cross compiler serve machines whose kernel cannot
# run 32-bit programs, where the tests run a 64-bit build (see wine-env.sh).
# clang and its runtime libraries build the fuzz targets (libFuzzer).
packages=(
  cmake make g++ googletest python3 clang-format clang libclang-rt-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xauth xdotool x11-utils imagemagick
  locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine
)

missing=()
for p in "${packages[@]}"; do
  name=${p%%:*}; arch=${p#*:}; [ "$arch" = "$p" ] && arch=
  if [ -n "$arch" ]; then q="$name:$arch"; else q="$name"; fi
  status=$(dpkg-query -W -f='${db:Status-Status}' "$q" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  if [ "$(id -u)" != 0 ]; then
    echo "install-deps: missing packages and not root; run as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine needs the Japanese locale to take code page 932 as the ANSI code page.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  if [ "$(id -u)" = 0 ]; then
    sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen
  else
    echo "install-deps: locale ja_JP.UTF-8 missing and not root" >&2
    exit 1
  fi
fi
