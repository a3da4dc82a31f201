#!/usr/bin/env bash
# Builds everything and runs every test: once in the normal build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then checks the install and the Debian package
# of the normal build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

jobs=$(nproc)
for preset in default asan; do
    echo "=== $preset build"
    cmake --preset "$preset" -DQB_WERROR=ON >/dev/null
    cmake --build --preset "$preset" -j"$jobs"
    echo "=== $preset tests"
    ctest --preset "$preset"
done

echo "=== install and package"
scripts/check-install.sh build
