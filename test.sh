#!/usr/bin/env bash
# Builds Zelvora with its tests and benchmarks (Release, in build/) and runs every test,
# installing missing Debian packages first. Arguments go to ctest.
#
#   ./test.sh --sanitize [ctest arguments]
#
# builds the tests alone in build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs them there: any memory error, leak or undefined behaviour fails its test.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"

# proj-data holds the NTv2 grids the grid tests read beside PROJ; zlib reads the PNG pictures in
# their tests; Xvfb is the X server one window test runs on; the desktop tools validate the menu
# entry and the AppStream file, groff the manual pages, and dpkg-dev and file build the Debian
# package.
test_packages=(libgtest-dev libbenchmark-dev libgeographiclib-dev libproj-dev proj-data python3-ezdxf python3-pyproj
               zlib1g-dev xvfb xauth desktop-file-utils appstream groff-base dpkg-dev file)
zelvora_install_missing "${zelvora_base_packages[@]}" "${test_packages[@]}"

if [ "${1:-}" = "--sanitize" ]; then
  shift
  build="$zelvora_root/build-sanitize"
  # -O1 keeps the instrumented suite quick to build and still fast to run; frame pointers give
  # whole stacks in the reports.
  sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  cmake -S "$zelvora_root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DZELVORA_TESTS=ON \
    -DZELVORA_BENCH=OFF -DZELVORA_WERROR=ON \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS="$sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers"
  cmake --build "$build" -j "$(nproc)"
  cd "$build"
  # Qt and the font libraries keep allocations for the life of the process, which LeakSanitizer
  # reports at exit; those libraries are suppressed by name, our own code is not.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$zelvora_root/tests/sanitize/lsan-suppressions.txt:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ctest --output-on-failure -j "$(nproc)" "$@"
  exit
fi

zelvora_build -DZELVORA_TESTS=ON -DZELVORA_BENCH=ON -DZELVORA_WERROR=ON

cd "$zelvora_root/build"
ctest --output-on-failure -j "$(nproc)" "$@"
