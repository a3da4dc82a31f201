#!/usr/bin/env bash
# Runs a benchmark in a screen reader user's desktop session: a virtual X server (the xcb platform;
# the offscreen one has no accessibility bridge), a session bus of its own, the AT-SPI bus on it and
# a stand-in for a screen reader (atspi-listener.py) that registers for the events a screen reader
# follows and reads back what changed. Qt's bridge only connects when the AT-SPI bus is running
# already, so it is started before the benchmark. All of them end with the run; the stand-in then
# prints what it received.
#
#   bench/ldap/a11y-session.sh BENCH [ARGUMENTS...]
#   bench/ldap/a11y-session.sh build/bench/ldap/scan_bench --a11y            the scan
#   bench/ldap/a11y-session.sh build/bench/ldap/creation_a11y_bench          the creation run
#
# The benchmarks set QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 for the runs with the bridge and clear it for
# the others.
set -euo pipefail

if [[ ${1:-} == --inside ]]; then
    shift
    # On the session bus: start the AT-SPI bus (D-Bus activation) and wait for its answer.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
    coproc listener { exec /usr/bin/python3 "$(dirname "$0")/atspi-listener.py"; }
    read -r _ <&"${listener[0]}"
    status=0
    env QT_QPA_PLATFORM=xcb "$@" || status=$?
    kill "$listener_PID"
    wait "$listener_PID" || true
    exit "$status"
fi

if [[ $# -eq 0 ]]; then
    echo "usage: a11y-session.sh BENCH [ARGUMENTS...]" >&2
    exit 2
fi
for tool in xvfb-run dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || {
        echo "a11y-session: $tool is missing (scripts/install-deps.sh --bench installs it)" >&2
        exit 1
    }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || {
    echo "a11y-session: pyatspi is missing (scripts/install-deps.sh --bench installs it)" >&2
    exit 1
}
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    dbus-run-session -- "$0" --inside "$@"
