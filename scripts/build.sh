#!/usr/bin/env bash
# Configures and builds the tool set.
#   scripts/build.sh            release build in build/ (programs in build/bin)
#   scripts/build.sh --sanitize AddressSanitizer + UBSan build in build-test/
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQEL_SANITIZE=OFF)
if [[ "${1:-}" == "--sanitize" ]]; then
    dir=build-test
    flags=(-DCMAKE_BUILD_TYPE=Debug -DQEL_SANITIZE=ON)
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$jobs"
