#!/usr/bin/env bash
# Builds Zelvora (Release, in build/) and starts it, installing missing Debian packages first.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"

zelvora_install_missing "${zelvora_base_packages[@]}"
zelvora_build -DZELVORA_TESTS=OFF -DZELVORA_BENCH=OFF

exec "$zelvora_root/build/bin/zelvora" "$@"
