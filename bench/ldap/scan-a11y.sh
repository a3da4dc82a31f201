#!/usr/bin/env bash
# The scan with the accessibility bridge (AT-SPI) active beside the same without, as a screen reader
# user's desktop has it: a virtual X server (the xcb platform; the offscreen one has no bridge), a
# session bus of its own, the AT-SPI bus on it and a stand-in for a screen reader that registers for
# the events (atspi-listener.py). Qt's bridge only connects when the AT-SPI bus is running already,
# so it is started before the benchmark. All of them end with the run.
#
#   bench/ldap/scan-a11y.sh [SCAN_BENCH]     default: build/bench/ldap/scan_bench
set -euo pipefail
bench=${1:-build/bench/ldap/scan_bench}

if [[ ${1:-} == --inside ]]; then
    # On the session bus: start the AT-SPI bus (D-Bus activation) and wait for its answer.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
    # A screen reader's part: registered for the events, receiving them.
    coproc listener { exec /usr/bin/python3 "$(dirname "$0")/atspi-listener.py"; }
    read -r _ <&"${listener[0]}"
    status=0
    env QT_QPA_PLATFORM=xcb "$2" --a11y || status=$?
    kill "$listener_PID"
    wait "$listener_PID" || true
    exit "$status"
fi

for tool in xvfb-run dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || {
        echo "scan-a11y: $tool is missing (scripts/install-deps.sh --bench installs it)" >&2
        exit 1
    }
done
# The scan bench sets QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 for the one scan and clears it for the other.
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    dbus-run-session -- "$0" --inside "$bench"
