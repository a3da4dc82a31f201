#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz: clang, ASan + UBSan) and runs them on their seed
# corpora in tests/fuzz/corpus/<target>.
#
#   scripts/fuzz.sh [TARGET] [SECONDS]   run TARGET (every target when omitted or "all") for
#                                        SECONDS each (default 60)
#   scripts/fuzz.sh --runs N [TARGET]    run each for N inputs, as scripts/test.sh does
#
# Inputs found on the way go to a temporary folder, so the seeds in the tree stay as they are; an
# input that fails a check is kept in build-fuzz/crashes/ and named in the output.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=""
if [ "${1:-}" = "--runs" ]; then
    runs=${2:?"usage: $0 --runs N [TARGET]"}
    shift 2
fi
target=${1:-all}
seconds=${2:-60}

targets=()
for corpus in tests/fuzz/corpus/*/; do
    name=$(basename "$corpus")
    if [ "$target" = all ] || [ "$target" = "$name" ]; then
        targets+=("$name")
    fi
done
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz target named $target" >&2; exit 2; }

cmake --preset fuzz -DQB_WERROR=ON >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]}"

found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
mkdir -p build-fuzz/crashes
if [ -n "$runs" ]; then
    limit=(-runs="$runs")
else
    limit=(-max_total_time="$seconds")
fi
failed=0
for name in "${targets[@]}"; do
    mkdir -p "$found/$name"
    log="$found/$name.log"
    started=$SECONDS
    if build-fuzz/tests/fuzz/"$name" "${limit[@]}" -timeout=10 -artifact_prefix="build-fuzz/crashes/$name-" \
        "$found/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
        inputs=$(grep -Eo '^#[0-9]+' "$log" | tail -1 | tr -d '#' || true)
        echo "$name: ${inputs:-?} inputs, $((SECONDS - started)) s"
    else
        tail -40 "$log"
        echo "$name: FAILED (input kept in build-fuzz/crashes/)"
        failed=1
    fi
done
exit $failed
