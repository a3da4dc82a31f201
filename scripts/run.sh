#!/usr/bin/env bash
# Builds the program and runs it (on the embedded directory unless an LDAP server is configured).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default -DQB_BUILD_TESTS=OFF >/dev/null
cmake --build --preset default --target quillbarrow -j"$(nproc)"
exec build/src/ui/quillbarrow
