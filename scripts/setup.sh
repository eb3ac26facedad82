#!/bin/bash
# Installs what building, testing and running need (Debian packages), then configures and
# builds into build/: the targets named as arguments, or everything. Safe to run again.
# TIDEX_WERROR=ON makes compiler warnings errors (scripts/test.sh sets it).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev qt6-multimedia-dev qt6-translations-l10n libqt6sql6-sqlite
  libgtest-dev libgmock-dev libcpp-httplib-dev libxml2-dev libdtl-dev
  clang-format openssl fonts-noto-cjk xvfb xauth xdotool curl faketime dbus at-spi2-core desktop-file-utils
  openbox trayer x11-utils lintian
  libcurl4-openssl-dev qtkeychain-qt6-dev python3-aiosmtpd python3-dbus python3-gi
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Unset, the build keeps the setting it has, so the next build after a test run rebuilds nothing.
options=()
[ -z "${TIDEX_WERROR:-}" ] || options+=(-DTIDEX_WERROR="$TIDEX_WERROR")
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
