# Shared by run.sh and test.sh: installs the Debian packages that are missing and builds.
# Sourced, not run: the caller then installs what it needs with zelvora_install_missing and
# builds with zelvora_build, giving its CMake options.

zelvora_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian 12 packages every build needs; the callers add their own. CLI11 (header-only) parses
# zelvora-convert's arguments; the windows are Qt 6 Widgets, laid out for the Arial-like metrics
# of Liberation Sans; Qt's translations give its dialogs and standard buttons their language.
zelvora_base_packages=(g++ make cmake libcli11-dev qt6-base-dev fonts-liberation2
                       qt6-translations-l10n)
# bench/stream.sh times cs2cs beside zelvora-convert.
zelvora_stream_bench_packages=(proj-bin)

zelvora_install_missing() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing Debian packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

zelvora_build() {
  cmake -S "$zelvora_root" -B "$zelvora_root/build" -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$zelvora_root/build" -j "$(nproc)"
}
