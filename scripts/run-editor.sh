#!/usr/bin/env bash
# Set-up, build and start the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)"
if [ ! -x build/ui/tilvenna ]; then
  echo "The editor is not there yet: only the libraries and their tests are built."
  exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: the editor needs a graphical session (DISPLAY or WAYLAND_DISPLAY)." >&2
  exit 1
fi
exec build/ui/tilvenna "$@"
