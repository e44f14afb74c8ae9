#!/usr/bin/env bash
# Builds everything and runs every test three times: a normal build, a build with
# AddressSanitizer and UndefinedBehaviorSanitizer that fails on any report, and the GUI-free
# libraries and their tests built with Clang. Warnings are errors in all three. After the
# normal build the Debian package is made from it and tried in a fresh Debian root.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

run_suite() {
  local dir=$1; shift
  # The tests are asked for by name: a build folder first configured without them (the
  # README's first start) keeps that choice in its cache otherwise.
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_WERROR=ON -DVELMO_BUILD_TESTS=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

echo "== normal build =="
run_suite build -DVELMO_BUILD_BENCH=ON

echo "== Debian package =="
# It needs root for debootstrap, chroot and its mounts; CI runs as root.
if [ "$(id -u)" -eq 0 ]; then
  scripts/test-package.sh build
else
  echo "skipped: scripts/test-package.sh needs root (sudo scripts/test-package.sh build)"
fi

echo "== sanitizer build =="
(
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
  run_suite build-asan -DVELMO_SANITIZE=ON -DVELMO_BUILD_BENCH=OFF
)

echo "== GUI-free libraries with Clang =="
CXX=clang++ run_suite build-clang -DVELMO_GUI=OFF -DVELMO_BUILD_BENCH=OFF
