#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what it says and holds:
#
#     debian_package.sh BUILD_FOLDER WORK_FOLDER
set -euo pipefail
build=$1
work=$2
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" > /dev/null; then
    echo "install.package skipped: $tool is missing (Debian packages dpkg-dev and file)"
    exit 0
  fi
done
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" > "$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
shopt -s nullglob
packages=("$work"/zelvora_*.deb)
[ "${#packages[@]}" -eq 1 ] || fail "expected one zelvora_*.deb, found: ${packages[*]:-none}"
deb=${packages[0]}

info=$(dpkg-deb --info "$deb")
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = zelvora ] || fail "Package: $(field Package)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ "$depends" == *"$library "* || "$depends" == *"$library," || "$depends" == *"$library" ]] ||
    fail "Depends: lacks $library: $depends"
done
for recommended in fonts-liberation2 qt6-translations-l10n; do
  [[ "$(field Recommends)" == *$recommended* ]] || fail "Recommends: $(field Recommends)"
done
[[ "$info" == *"coordinate and datum transformation"* ]] || fail "no description: $info"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in ./usr/bin/zelvora ./usr/bin/zelvora-convert \
            ./usr/share/zelvora/Datum.Cfg ./usr/share/zelvora/ZonasUTM.bmp ./usr/share/zelvora/UTMzone.bmp \
            ./usr/share/applications/zelvora.desktop ./usr/share/metainfo/example.zelvora.Zelvora.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/zelvora.svg \
            ./usr/share/icons/hicolor/48x48/apps/zelvora.png \
            ./usr/share/man/man1/zelvora.1.gz ./usr/share/man/man1/zelvora-convert.1.gz \
            ./usr/share/doc/zelvora/copyright; do
  grep -qxF "$file" <<< "$contents" || fail "the package lacks $file"
done
outside=$(grep -v '^\./usr/' <<< "$contents" | grep -vx '\./' | grep -vx '\./usr' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

echo "$info"
echo "install.package: $(basename "$deb") holds $(grep -c . <<< "$contents") entries"
