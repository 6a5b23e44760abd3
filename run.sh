#!/usr/bin/env bash
# Builds Zelvora (Release, in build/) and starts it, installing missing Debian packages first.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"

zelvora_install_missing "${zelvora_base_packages[@]}"
zelvora_build -DZELVORA_TESTS=OFF -DZELVORA_BENCH=OFF

bin="$zelvora_root/build/bin"
if [ -x "$bin/zelvora" ]; then
  exec "$bin/zelvora" "$@"
elif [ -x "$bin/zelvora-convert" ]; then
  # Until the window exists the tool is the program; without arguments it explains itself.
  [ $# -eq 0 ] && set -- --help
  exec "$bin/zelvora-convert" "$@"
else
  echo "Built the computation core (build/core). The main window and the command-line tool"
  echo "zelvora-convert are not part of this build yet; ./test.sh runs the engine's tests."
fi
