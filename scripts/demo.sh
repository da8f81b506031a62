#!/usr/bin/env bash
# The whole journey in one command, on a fresh Debian 12 machine as root:
# installs what is missing, builds, and runs dialgate against a simulated
# device at the far end of a SLIP line. Press OK in the launcher, watch the
# waiting window, and the device's home page opens in a browser: the
# desktop's when there is a display, w3m in this terminal otherwise.
#
#   bash scripts/demo.sh [--terminal]
#
# --terminal keeps the windows in the terminal even under a display.
# BUILD_DIR chooses the build folder (default: build/). Leaving the demo
# (quitting the browser, Enter, Ctrl-C) hangs up and removes everything the
# demo made: the device's network namespace, the link and the demo folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

entry="Corvane Demo Device"

# The terminal may be gone already (its window closed), so a message that
# cannot be shown must not stop the clean-up.
say() { printf 'demo: %s\n' "$*" 2>/dev/null || true; }
die() { printf 'demo: %s\n' "$*" >&2 2>/dev/null; exit 1; }

windows=auto
case ${1:-} in
  "") ;;
  --terminal) windows=terminal ;;
  -h | --help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) die "unknown option '$1' (try --help)" ;;
esac
if [[ $windows == auto && -z ${DISPLAY:-} ]]; then windows=terminal; fi
if [[ $windows == terminal ]]; then unset DISPLAY WAYLAND_DISPLAY; fi

[[ $(id -u) -eq 0 ]] || die "run the demo as root: it makes a network namespace and a network interface"
[[ -t 0 && -t 1 ]] || die "run the demo in a terminal"

# ---- set up and build ----
"$root/scripts/install-packages.sh"
say "building into $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target dialgate corvane-dial corvane-link corvane-demo-device >/dev/null
bin=$build/bin

[[ -c /dev/net/tun ]] || die "/dev/net/tun is missing: load the tun module (modprobe tun)"

# The link's two addresses: the first pair that no network of this machine
# covers (only the default route may), so the device's packets can go
# nowhere but over the demo's line.
pc_address=
for pair in 10.213.9 172.31.213 192.168.213; do
  if [[ -z $(ip -4 route show match "$pair.2" | grep -v '^default ') ]] &&
     ! ip -o -4 addr show | grep -qE "inet $pair\.[12]/"; then
    pc_address=$pair.1
    device_address=$pair.2
    break
  fi
done
[[ -n $pc_address ]] || die "every address pair the demo could use is taken by a network of this machine"
device_url="http://$device_address/"

# ---- what leaving the demo undoes ----
work=$(mktemp -d /tmp/corvane-demo.XXXXXX)
namespace=corvane-demo-$$
made_namespace=0
device_pid=
real_config=${XDG_CONFIG_HOME:-$HOME/.config}
real_runtime=${XDG_RUNTIME_DIR:-/run/user/$(id -u)}
export XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/run

cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  set +e
  if [[ -e $XDG_RUNTIME_DIR ]]; then
    "$bin/corvane-dial" hangup "$entry" >/dev/null 2>&1 && say "hung up \"$entry\""
  fi
  if [[ -n $device_pid ]]; then
    kill "$device_pid" 2>/dev/null || true
    wait "$device_pid" 2>/dev/null || true
  fi
  if ((made_namespace)); then ip netns del "$namespace" 2>/dev/null || true; fi
  # Only the demo's own files: the shadowed entries below are symbolic
  # links, which rm removes without following.
  rm -rf "$work"
  say "removed the device's namespace and $work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# The programs read the phonebook and the registry from the XDG folders
# given here. Everything else the person keeps there (a browser's profile,
# the session bus) stays reachable through links, so a desktop browser the
# launcher starts finds its own files.
shadow() {  # shadow REAL_DIR PRIVATE_DIR
  mkdir -p "$2"
  chmod 700 "$2"
  [[ -d $1 ]] || return 0
  local item
  for item in "$1"/* "$1"/.[!.]*; do
    [[ -e $item || -L $item ]] || continue
    [[ $(basename "$item") == corvane ]] && continue
    ln -s "$item" "$2/"
  done
}
shadow "$real_config" "$XDG_CONFIG_HOME"
shadow "$real_runtime" "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/corvane" "$work/launcher"

# ---- the device, in a network namespace of its own ----
ip netns add "$namespace"
made_namespace=1
ip -n "$namespace" link set lo up
# Like a device the call wakes up, it leaves the first echo requests of the
# launcher's probe unanswered, so the waiting window stays up a moment.
ip netns exec "$namespace" "$bin/corvane-demo-device" --wake-ms 1500 "$device_address" "$pc_address" \
  >"$work/device.out" 2>"$work/device.log" &
device_pid=$!
line=
for _ in $(seq 100); do
  if read -r word path <"$work/device.out" 2>/dev/null && [[ $word == ready ]]; then
    line=$path
    break
  fi
  kill -0 "$device_pid" 2>/dev/null || break
  sleep 0.1
done
[[ -n $line ]] || die "the simulated device did not start: $(cat "$work/device.log")"
say "the device answers on $device_address at the far end of $line"

# ---- its dial-up entry, the launcher's settings, a browser ----
cat >"$XDG_CONFIG_HOME/corvane/phonebook.ini" <<EOF
[$entry]
device=$line
speed=115200
local=$pc_address
remote=$device_address
timeout=30
EOF
printf '[init]\r\nDevURL=%s\r\nDevIP=%s\r\nconnName=%s\r\n' "$device_url" "$device_address" "$entry" \
  >"$work/launcher/current.cfg"
# Under a display the desktop's default browser answers for .html (the
# registry falls back to it when no hive names one); the demo's text-mode
# browser serves in a terminal, and where the desktop names no browser.
browser=text
if [[ $windows != terminal ]]; then
  if command -v x-www-browser >/dev/null ||
     grep -qsE '^(text/html|x-scheme-handler/http)=' "$real_config/mimeapps.list" /etc/xdg/mimeapps.list \
       /usr/share/applications/mimeapps.list /usr/share/applications/defaults.list; then
    browser=desktop
  else
    say "the desktop names no web browser: the page will open in w3m in this terminal"
  fi
fi
if [[ $browser == text ]]; then
  cat >"$XDG_CONFIG_HOME/corvane/registry.reg" <<EOF
REGEDIT4

[HKEY_CLASSES_ROOT\\.html]
@="htmlfile"

[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]
@="\\"$root/demo/terminal-browser\\" \\"$work\\" %1"
EOF
fi
export no_proxy=$device_address${no_proxy:+,$no_proxy} NO_PROXY=$device_address${NO_PROXY:+,$NO_PROXY}

# ---- the launcher ----
if [[ $windows == terminal ]]; then
  say "starting dialgate in this terminal: press Enter on OK (Tab moves, Escape cancels)"
else
  say "starting dialgate on display $DISPLAY: press OK"
fi
sleep 1
(cd "$work/launcher" && "$bin/dialgate") || true
touch "$work/launcher-ended"

if ! "$bin/corvane-dial" status "$entry" >/dev/null 2>&1; then
  say "the launcher ended without a link to the device"
  exit 0
fi
say "the link is up: $("$bin/corvane-dial" status "$entry")"
if [[ $browser == text ]]; then
  # The browser the launcher started takes over the terminal now; the demo
  # ends when it does.
  for _ in $(seq 50); do
    [[ -s $work/browser.pid ]] && break
    sleep 0.1
  done
  if [[ -s $work/browser.pid ]]; then
    browser_pid=$(cat "$work/browser.pid")
    while kill -0 "$browser_pid" 2>/dev/null; do sleep 0.2; done
  fi
else
  read -r -p "demo: the browser shows $device_url; press Enter to hang up and end the demo " _ || true
fi
