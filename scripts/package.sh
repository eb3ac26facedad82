#!/bin/bash
# Builds the Debian package of the program: build/tidex_VERSION_ARCH.deb. Install it with
#   sudo apt install ./build/tidex_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh tidex tidex-sites
(cd build && cpack -G DEB)
ls build/tidex_*.deb
