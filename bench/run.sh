#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine (own prefix, display, no network)
# and prints a table of medians and per-round figures. Usage: bench/run.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
build=$(bash -c '. scripts/wine-session.sh; wine_session_arch')  # see the README
cmake --preset "$build" >/dev/null
cmake --build --preset "$build" --target memory_and_write_bench
scripts/in-wine.sh "build/$build/bench" wine "build/$build/bin/memory_and_write_bench.exe" "${1:-8}"
