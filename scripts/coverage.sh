#!/usr/bin/env bash
# Line coverage of the layers by the whole test suite: builds with --coverage into
# build-coverage/, runs ctest and prints gcovr's table (installing gcovr when missing).
# Usage: scripts/coverage.sh ['layer|layer']   (default: all five layers)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh gcovr
layers=${1:-platform|model|gamedata|imaging|ui}
build=build-coverage
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTILVENNA_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
find "$build" -name '*.gcda' -delete
cmake --build "$build" --parallel "$(nproc)" >/dev/null
# A failing test still leaves the coverage of what ran; say so and go on.
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --parallel "$(nproc)" --timeout 300 >/dev/null 2>&1) ||
  echo "Some tests failed; the figures below are of what ran." >&2
gcovr -r . "$build" --filter "$PWD/($layers)/"
