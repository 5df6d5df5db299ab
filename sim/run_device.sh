#!/usr/bin/env bash
# The simulated device, inside its own session bus: boots a fresh device root from the build,
# starts the weather daemon and the lock-screen host (which loads the injected library), plays
# a scenario of events on the host and leaves the snapshots in the screens folder.
#
#   sim/run_device.sh <build dir> <scenario> <screens folder>
set -euo pipefail
build=$(realpath "$1")
scenario=$(realpath "$2")
mkdir -p "$3"
screens=$(realpath "$3")

root="$build/device-run"
rm -rf "$root"
cp -a "$build/device" "$root"
mkdir -p "$root/User/Library/Preferences" "$root/var/log"
export VANTOREL_DEVICE_ROOT="$root"

"$root/usr/bin/vantoreld" &
daemon=$!
trap 'kill "$daemon" 2>/dev/null || true' EXIT

sed "s|@SCREENS@|$screens|g" "$scenario" | grep -v '^#' | "$build/bin/springboard-supervisor" "$build/bin/springboard"

echo "device log:"
cat "$root/var/log/vantorel.log" 2>/dev/null || true
echo "snapshots in $screens:"
ls "$screens"
