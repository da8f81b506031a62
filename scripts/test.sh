#!/usr/bin/env bash
# One command: sets up a fresh Debian 12 machine (as root), builds everything
# and runs every test. BUILD_DIR chooses the build folder (default: build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
# Serially: the network tests make namespaces and time their probes.
ctest --test-dir "$build" --output-on-failure --timeout 600
