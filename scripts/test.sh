#!/usr/bin/env bash
# Checks the formatting, then builds everything and runs every test: without the window
# (QB_BUILD_UI=OFF: the client and directory layers and their tests, no Qt Widgets found at all),
# under AddressSanitizer and UndefinedBehaviorSanitizer (both of these), and in the normal build;
# runs each fuzz target for a fixed number of inputs; then checks the install and the Debian
# package of the normal build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

echo "=== format"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

jobs=$(nproc)
# The build without the window has the sanitized build's flags: through one compiler cache of this
# run, the sanitized build takes the layers below the window from it instead of compiling them again.
export CCACHE_DIR=${CCACHE_DIR:-$PWD/build-ccache} CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
for preset in noui asan default; do
    start=$SECONDS
    echo "=== $preset build"
    # The benchmarks are built (not run) once, in the normal build. That build leaves out debug
    # information (same optimisation): the package made from it is stripped anyway.
    options=(-DQB_BUILD_BENCH=OFF)
    [[ $preset == default ]] &&
        options=(-DQB_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG")
    cmake --preset "$preset" -DQB_WERROR=ON -DQB_BUILD_TESTS=ON "${options[@]}" \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
    cmake --build --preset "$preset" -j"$jobs"
    echo "=== $preset tests (built in $((SECONDS - start)) s)"
    start=$SECONDS
    # The server suites mostly wait on their servers: two at a time keep both cores busy.
    ctest --preset "$preset" -j"$jobs"
    echo "=== $preset tests took $((SECONDS - start)) s"
done

echo "=== fuzz"
scripts/fuzz.sh --runs 4000

echo "=== install and package"
scripts/check-install.sh build
