#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs both programs from there, as a user whose
# settings live in the XDG config folder:
#
#     installed_layout.sh BUILD_FOLDER WORK_FOLDER
set -euo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
prefix=$work/usr
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

fail() { echo "FAIL: $*" >&2; exit 1; }

for file in bin/zelvora bin/zelvora-convert \
            share/zelvora/Datum.Cfg share/zelvora/ZonasUTM.bmp share/zelvora/UTMzone.bmp \
            share/applications/zelvora.desktop share/metainfo/example.zelvora.Zelvora.metainfo.xml \
            share/icons/hicolor/scalable/apps/zelvora.svg \
            share/icons/hicolor/16x16/apps/zelvora.png share/icons/hicolor/256x256/apps/zelvora.png \
            share/man/man1/zelvora.1.gz share/man/man1/zelvora-convert.1.gz \
            share/doc/zelvora/copyright share/doc/zelvora/guide.md; do
  [ -s "$prefix/$file" ] || fail "the install has no $file"
done
[ -x "$prefix/bin/zelvora" ] && [ -x "$prefix/bin/zelvora-convert" ] || fail "the programs are not executable"
# Nothing of the build's own folder layout comes along: no data files beside the programs.
[ ! -e "$prefix/bin/Datum.Cfg" ] || fail "Datum.Cfg was installed beside the programs"
gzip -t "$prefix/share/man/man1/zelvora.1.gz" "$prefix/share/man/man1/zelvora-convert.1.gz"

# A user of their own, with nothing in their config folder yet.
export HOME=$work/home
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
config=$HOME/.config/zelvora
shipped=$(grep -c . "$prefix/share/zelvora/Datum.Cfg")

# The tool reads the catalogue shipped in share/zelvora ...
listed=$("$prefix/bin/zelvora-convert" --list-datums | grep -c .)
[ "$listed" -eq "$shipped" ] || fail "zelvora-convert listed $listed datums, the shipped catalogue holds $shipped"
# ... and the user's own in preference, once there is one.
mkdir -p "$config"
printf '6378388,297,Datum of the user,-100,20,3\r\n' > "$config/Datum.Cfg"
"$prefix/bin/zelvora-convert" --list-datums | grep -q 'Datum of the user' || fail "the user's catalogue was not read"
[ "$("$prefix/bin/zelvora-convert" --list-datums | grep -c .)" -eq 1 ] || fail "the shipped catalogue was read too"
rm "$config/Datum.Cfg"
# A point through the installed tool: WGS 84 geodetic to UTM, zone of central meridian -45.
"$prefix/bin/zelvora-convert" --decimal . --lang en --from geodetic --to grid --to-cm -45 \
  --from-datum 0 --to-datum 0 --angle-format 0 point -- -23.5 -46.6 700 > "$work/point.txt"
# PROJ gives N 7400218.860176, E 336625.131857 for this point (EPSG:4326 to EPSG:32723).
grep -q '^(N)orth = 7400218.860176 m' "$work/point.txt" || fail "the tool's result: $(cat "$work/point.txt")"

# The window, off screen, from the installed folder: it starts on the shipped catalogue and,
# asked to end as a session end asks it, writes the user's settings into the config folder.
rm -rf "$config"
started=0
for wait in 3 10 30; do
  QT_QPA_PLATFORM=offscreen "$prefix/bin/zelvora" > "$work/window.log" 2>&1 &
  pid=$!
  sleep "$wait"
  kill -TERM "$pid"
  status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the window ended with status $status: $(cat "$work/window.log")"
  if [ -f "$config/Zelvora.Cfg" ]; then started=1; break; fi
done
[ "$started" -eq 1 ] || fail "the window wrote no settings into $config: $(cat "$work/window.log")"
# Line 2 is the source datum's index: 1, the second datum, only when the catalogue was loaded.
[ "$(sed -n 2p "$config/Zelvora.Cfg" | tr -d '\r')" = 1 ] || fail "the window did not load the shipped catalogue"
[ ! -e "$prefix/bin/Zelvora.Cfg" ] || fail "settings were written beside the installed program"
[ ! -e "$config/Datum.Cfg" ] || fail "an unchanged catalogue was written"
cmp -s "$prefix/share/zelvora/Datum.Cfg" "$build/bin/Datum.Cfg" || fail "the shipped catalogue changed"

echo "installed layout: both programs ran from $prefix; the settings went to $config"
rm -rf "$work"
