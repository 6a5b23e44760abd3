#!/usr/bin/env bash
# Checks the sources' format against .clang-format and lints the program's code with the checks
# in .clang-tidy (Debian 12's clang-format and clang-tidy 14). Exits 1 on any difference or
# finding; `scripts/check-style.sh --fix` formats the files in place instead of checking them.
#
# The lint covers the libraries and programs (core, transform, config, ui, app, tools); the tests,
# benchmarks and fuzz targets are formatted but not linted.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
zelvora_install_missing "${zelvora_base_packages[@]}" clang-format clang-tidy
cd "$zelvora_root"

mapfile -t sources < <(git ls-files '*.cpp' '*.h' ':!tests/samples')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${sources[@]}"
  exit
fi
clang-format --dry-run --Werror "${sources[@]}"
echo "format: ${#sources[@]} files as .clang-format writes them"

# The compile commands of a configured build (no build needed: the lint only parses).
build="$zelvora_root/build-lint"
cmake -S "$zelvora_root" -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DZELVORA_TESTS=OFF \
  -DZELVORA_BENCH=OFF >/dev/null
mapfile -t program < <(git ls-files 'core/*.cpp' 'transform/*.cpp' 'config/*.cpp' 'ui/*.cpp' \
  'app/*.cpp' 'tools/*.cpp')
# GCC's own warning options mean nothing to clang; one file a job, one job a core. clang-tidy
# counts the warnings it found in the system headers and did not show; those counts go.
printf '%s\n' "${program[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option \
    2>&1 | { grep -v '^[0-9]* warnings\? generated\.$' || true; }
echo "lint: ${#program[@]} files without a finding"
