#!/usr/bin/env bash
# Builds everything and runs every test three times: a normal build, a build with
# AddressSanitizer and UndefinedBehaviorSanitizer that fails on any report, and the GUI-free
# libraries and their tests built with Clang. Warnings are errors in all three. After the
# normal build the Debian package is made from it and tried in a fresh Debian root.
# Each build builds only what it runs: the benchmarks only in the normal build (so that they
# keep compiling), no benchmarks in the other two.
#
# Usage: scripts/run-tests.sh [PHASE...]   PHASE: normal, package, asan, clang (default: all four)
# At the end a table gives each phase's seconds, also when a phase failed.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
# A test that hangs fails after this many seconds instead of holding the run up to CI's limit.
# (The screen tests set their own, longer limit.)
test_timeout=${VELMO_TEST_TIMEOUT:-240}

phases=("$@")
[ ${#phases[@]} -gt 0 ] || phases=(normal package asan clang)
for p in "${phases[@]}"; do
  case $p in normal | package | asan | clang) ;; *) echo "unknown phase $p (normal, package, asan, clang)" >&2; exit 2 ;; esac
done
wanted() { local p; for p in "${phases[@]}"; do [ "$p" = "$1" ] && return 0; done; return 1; }

# The seconds of each step, printed as a table when the script ends, however it ends.
step_names=() step_seconds=() step_results=()
started=$SECONDS
current=""
print_table() {
  local status=$? i
  if [ -n "$current" ]; then
    step_names+=("$current") step_seconds+=($((SECONDS - current_start))) step_results+=("FAILED")
  fi
  echo
  echo "== seconds per phase =="
  for i in "${!step_names[@]}"; do
    printf '  %-36s %6d s  %s\n' "${step_names[i]}" "${step_seconds[i]}" "${step_results[i]}"
  done
  printf '  %-36s %6d s\n' "total" $((SECONDS - started))
  exit "$status"
}
trap print_table EXIT
# step NAME COMMAND...: runs the command as one timed step; a failure ends the script.
step() {
  current=$1 current_start=$SECONDS
  shift
  "$@"
  step_names+=("$current") step_seconds+=($((SECONDS - current_start))) step_results+=("ok")
  current=""
}

# ccache (when installed; CMake then compiles through it, see cmake/VelmoBuildSpeed.cmake)
# keeps the objects of all three builds: its default 5 GB would drop one build's objects to
# make room for the next. Only ever raised, never lowered.
if command -v ccache >/dev/null; then
  max=$(ccache --get-config max_size 2>/dev/null || echo 0)
  case $max in
    0 | 0.0 | 0.0?) ;; # no limit
    *T | *[0-9][0-9][0-9]G) ;;
    *G) [ "${max%%[.G]*}" -ge 12 ] || ccache --max-size=12G >/dev/null ;;
    *) ccache --max-size=12G >/dev/null ;;
  esac
  echo "ccache: $(ccache --get-config cache_dir), max $(ccache --get-config max_size)"
fi

configure_build() {
  local dir=$1; shift
  # The tests are asked for by name, and the precompiled headers turned off: a build folder
  # first configured otherwise (the README's first start) keeps those choices in its cache.
  # Without precompiled headers ccache gives this build the objects that any clone compiled.
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_WERROR=ON -DVELMO_BUILD_TESTS=ON -DVELMO_PCH=OFF "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}
# ctest starts the tests that took longest last time first, so that a long test does not run
# alone at the end; a fresh clone takes those times from the previous run on this machine.
costs=${XDG_CACHE_HOME:-$HOME/.cache}/velmaro-ci
run_tests() {
  local dir=$1 status=0
  local kept=$costs/ctest-costs-$(basename "$dir").txt data=$dir/Testing/Temporary/CTestCostData.txt
  if [ ! -f "$data" ] && [ -f "$kept" ]; then mkdir -p "$(dirname "$data")" && cp "$kept" "$data"; fi
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout "$test_timeout") || status=$?
  if [ -f "$data" ]; then mkdir -p "$costs" && cp "$data" "$kept.new" && mv "$kept.new" "$kept"; fi
  return "$status"
}

# The fresh Debian root of the package test is checked, and made with debootstrap when missing
# or stale, while the normal build compiles (it waits mostly on the network).
root_prep=""
if wanted package && [ "$(id -u)" -eq 0 ]; then
  mkdir -p build
  scripts/test-package.sh --prepare-root >build/prepare-root.log 2>&1 &
  root_prep=$!
fi

wait_root() {
  [ -n "$root_prep" ] || return 0
  wait "$root_prep" || echo "preparing the Debian root failed; the package test tries again:"
  sed 's/^/  /' build/prepare-root.log
  root_prep=""
}

if wanted normal; then
  echo "== normal build =="
  step "normal: configure and build" configure_build build -DVELMO_BUILD_BENCH=ON
  step "normal: tests" run_tests build
fi

if wanted package; then
  echo "== Debian package =="
  # It needs root for debootstrap, chroot and its mounts; CI runs as root.
  if [ "$(id -u)" -eq 0 ]; then
    [ -f build/CMakeCache.txt ] || step "package: configure" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_WERROR=ON >/dev/null
    # (It makes the root itself when the preparation above failed.)
    step "package: Debian root ready" wait_root
    step "package: build, install and try" scripts/test-package.sh build
  else
    echo "skipped: scripts/test-package.sh needs root (sudo scripts/test-package.sh build)"
  fi
fi

if wanted asan; then
  echo "== sanitizer build =="
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
  step "sanitizers: configure and build" configure_build build-asan -DVELMO_SANITIZE=ON -DVELMO_BUILD_BENCH=OFF
  step "sanitizers: tests" run_tests build-asan
  unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
fi

if wanted clang; then
  echo "== GUI-free libraries with Clang =="
  export CXX=clang++
  step "clang GUI-free: configure and build" configure_build build-clang -DVELMO_GUI=OFF -DVELMO_BUILD_BENCH=OFF
  step "clang GUI-free: tests" run_tests build-clang
  unset CXX
fi
