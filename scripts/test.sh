#!/usr/bin/env bash
# Checks the formatting, then builds everything and runs every test: without the window
# (QB_BUILD_UI=OFF: the client and directory layers and their tests, no Qt Widgets found at all),
# in the normal build, and under AddressSanitizer and UndefinedBehaviorSanitizer; runs each fuzz
# target for a fixed number of inputs; then checks the install and the Debian package of the
# normal build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

echo "=== format"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

jobs=$(nproc)
for preset in noui default asan; do
    echo "=== $preset build"
    # The benchmarks are built (not run) once, in the normal build.
    bench=OFF
    [[ $preset == default ]] && bench=ON
    cmake --preset "$preset" -DQB_WERROR=ON -DQB_BUILD_TESTS=ON -DQB_BUILD_BENCH=$bench >/dev/null
    cmake --build --preset "$preset" -j"$jobs"
    echo "=== $preset tests"
    # The server suites mostly wait on their servers: two at a time keep both cores busy.
    ctest --preset "$preset" -j"$jobs"
done

echo "=== fuzz"
scripts/fuzz.sh --runs 4000

echo "=== install and package"
scripts/check-install.sh build
