#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively, then the
# Win32 tests and the end-to-end tests of the real launcher under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
start=$(date +%s)

scripts/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

# The shipped 32-bit launcher is always built; the Wine tiers run on the build
# this machine's Wine can run (see the README).
cmake --preset win32
cmake --build --preset win32
wine_build=$(bash -c '. scripts/wine-session.sh; wine_session_arch')
if [[ $wine_build != win32 ]]; then
  cmake --preset "$wine_build"
  cmake --build --preset "$wine_build"
fi
scripts/in-wine.sh "build/$wine_build/wine" ctest --preset "$wine_build"

echo "all tests passed in $(( $(date +%s) - start )) s"
