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

cmake --preset win32
cmake --build --preset win32
scripts/in-wine.sh build/win32/wine ctest --preset win32

echo "all tests passed in $(( $(date +%s) - start )) s"
