#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need
# (scripts/debian-packages.txt), asking apt only when something is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t wanted < <(grep -v '^\s*#' "$here/debian-packages.txt" | sed 's/\s*$//' | grep -v '^$' | sort -u)
missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "install-packages: missing Debian packages (run as root to install): ${missing[*]}" >&2
    exit 1
  fi
  echo "install-packages: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
