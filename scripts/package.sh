#!/usr/bin/env bash
# Builds the Debian package into build-package/: a release build installed under /usr, without tests and
# benchmarks, made by CPack. Prints the package's path.
#   sudo apt-get install ./build-package/bookkeep_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BOOKKEEP_PACKAGE_BUILD:-build-package}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DBOOKKEEP_TESTS=OFF \
  -DBOOKKEEP_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j2
(cd "$BUILD" && cpack -G DEB >/dev/null)
ls "$BUILD"/bookkeep_*.deb
