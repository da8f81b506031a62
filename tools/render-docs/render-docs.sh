#!/usr/bin/env bash
# Renders every dialog and message box of dialgate and readyscan to PNG in
# docs/ (with docs/windows.md as their index), on a private Xvfb.
# Usage: tools/render-docs/render-docs.sh [BUILD_DIR]   (default: build/)
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-${BUILD_DIR:-$repo/build}}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$repo" -B "$build" -G Ninja >/dev/null
fi
if ! log=$(ninja -C "$build" -j2 render_docs); then echo "$log" >&2; exit 1; fi

# Xvfb picks a free display and tells us its number once it accepts clients.
exec {ready}<> <(:)
Xvfb -displayfd "$ready" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
read -r -t 15 number <&"$ready" || { echo "render-docs: Xvfb did not start" >&2; exit 1; }

rm -f "$repo"/docs/dialgate-*.png "$repo"/docs/readyscan-*.png
DISPLAY=":$number" "$build/bin/render_docs" "$repo/docs"
