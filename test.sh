#!/usr/bin/env bash
# Builds Zelvora with its tests and benchmarks (Release, in build/) and runs every test,
# installing missing Debian packages first.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"

test_packages=(libgtest-dev libbenchmark-dev libgeographiclib-dev libproj-dev python3-ezdxf python3-pyproj)
zelvora_install_missing "${zelvora_base_packages[@]}" "${test_packages[@]}"
zelvora_build -DZELVORA_TESTS=ON -DZELVORA_BENCH=ON -DZELVORA_WERROR=ON

cd "$zelvora_root/build"
ctest --output-on-failure -j "$(nproc)" "$@"
