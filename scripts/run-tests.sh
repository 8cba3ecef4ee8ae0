#!/usr/bin/env bash
# Set-up, build and every test. Pass SANITIZE=1 for an AddressSanitizer/UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=build
opts=()
if [ "${SANITIZE:-0}" = 1 ]; then
  build=build-asan
  opts+=(-DTILVENNA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$build" -G Ninja "${opts[@]}"
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
