#!/usr/bin/env bash
# Builds everything and runs every test: the README's test command.
#   scripts/test.sh            normal build in build/
#   DV_SANITIZE="address;undefined" scripts/test.sh   sanitizer build in build-asan/
#   DV_SANITIZE=thread scripts/test.sh                 sanitizer build in build-tsan/
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build
args=()
case "${DV_SANITIZE:-}" in
  "") ;;
  thread) build=build-tsan; args+=(-DDV_SANITIZE=thread -DDV_BUILD_BENCH=OFF) ;;
  *) build=build-asan; args+=("-DDV_SANITIZE=${DV_SANITIZE}" -DDV_BUILD_BENCH=OFF) ;;
esac

cmake -S . -B "$build" -G Ninja "${args[@]}" >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
