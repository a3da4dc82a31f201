#!/usr/bin/env bash
# The scan with the accessibility bridge (AT-SPI) active beside the same without, as a screen reader
# user's desktop has it: a virtual X server (the xcb platform; the offscreen one has no bridge) and
# a session bus of its own, on which the AT-SPI bus starts when the bridge asks for it. Both end
# with the run.
#
#   bench/ldap/scan-a11y.sh [SCAN_BENCH]     default: build/bench/ldap/scan_bench
set -euo pipefail
bench=${1:-build/bench/ldap/scan_bench}
for tool in xvfb-run dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || {
        echo "scan-a11y: $tool is missing (packages xvfb, dbus, at-spi2-core)" >&2
        exit 1
    }
done
# The scan bench sets QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 for the one scan and clears it for the other.
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    dbus-run-session -- env QT_QPA_PLATFORM=xcb "$bench" --a11y
