#!/usr/bin/env bash
# File-run throughput beside the peers, on the same files in the same run:
#   the DXF rewrite (UTM 23S on SAD 69 -> geodetic on SIRGAS 2000) and GDAL's ogr2ogr doing the
#   same reprojection of the same drawing, with cat of the file as the floor; the point-file
#   export beside ogr2ogr from CSV to DXF. Prints seconds, MB/s, coordinates per second, peak
#   resident memory and the ratios.
#
#   bench/files.sh [COUNT]        (COUNT coordinate pairs and points, default one million)
# Needs a build with the tool (./test.sh or ./run.sh) and gdal-bin (installed if missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/setup.sh"
zelvora_install_missing gdal-bin time bc python3
count=${1:-1000000}
tool="$root/build/bin/zelvora-convert"
[ -x "$tool" ] || { echo "build the tool first: ./test.sh" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$root/bench/make_files.py" "$work" "$count"

# The tool's state: grid UTM zone 23 south on SAD 69 (slot 2 of the shipped catalogue) to
# geodetic on SIRGAS 2000 (slot 1); the options set everything a file run reads.
state=(--no-settings --from grid --from-family utm --from-cm -45 --south
       --from-datum "SAD 69" --to geodetic --to-datum "SIRGAS 2000")

# Runs a command under /usr/bin/time; prints "seconds peak-kB".
measure() {
  local log="$work/time.log"
  /usr/bin/time -f "%e %M" -o "$log" "$@" >/dev/null 2>"$work/stderr" ||
    { cat "$work/stderr" >&2; return 1; }
  cat "$log"
}

size_mb() { echo "scale=1; $(stat -c %s "$1") / 1000000" | bc; }
row() {  # label seconds peak-kB megabytes
  [ "$2" = "0.00" ] && set -- "$1" 0.01 "$3" "$4"  # below the timer's resolution
  printf "%-34s %8.2f s %9.1f MB/s %12.0f coord/s %8.0f MB peak\n" "$1" "$2" \
    "$(echo "$4 / $2" | bc -l)" "$(echo "$count / $2" | bc -l)" "$(echo "$3 / 1024" | bc -l)"
}

drawing="$work/drawing.dxf"
mb=$(size_mb "$drawing")
echo "drawing: $count coordinate pairs, $mb MB; points: $count"
read -r cat_s cat_kb < <(measure cat "$drawing")
read -r our_s our_kb < <(measure "$tool" dxf "${state[@]}" "$drawing" "$work/ours.dxf")
read -r gdal_s gdal_kb < <(measure ogr2ogr -f DXF "$work/gdal.dxf" "$drawing" \
  -s_srs EPSG:29193 -t_srs EPSG:4674)
row "cat (the floor)" "$cat_s" "$cat_kb" "$mb"
row "zelvora-convert dxf" "$our_s" "$our_kb" "$mb"
row "ogr2ogr -f DXF" "$gdal_s" "$gdal_kb" "$mb"
printf "DXF rewrite: %.1f times ogr2ogr's speed; peak memory %.0f MB for a %.0f MB source\n" \
  "$(echo "$gdal_s / $our_s" | bc -l)" "$(echo "$our_kb / 1024" | bc -l)" "$mb"

points_mb=$(size_mb "$work/points.txt")
read -r pts_s pts_kb < <(measure "$tool" points "${state[@]}" "$work/points.txt" "$work/points.dxf")
read -r gpts_s gpts_kb < <(measure ogr2ogr -f DXF "$work/gdal-points.dxf" "$work/points.csv" \
  -oo X_POSSIBLE_NAMES=x -oo Y_POSSIBLE_NAMES=y -oo Z_POSSIBLE_NAMES=z \
  -s_srs EPSG:29193 -t_srs EPSG:4674)
row "zelvora-convert points" "$pts_s" "$pts_kb" "$points_mb"
row "ogr2ogr CSV -> DXF" "$gpts_s" "$gpts_kb" "$points_mb"
printf "point export: %.1f times ogr2ogr's points per second\n" "$(echo "$gpts_s / $pts_s" | bc -l)"
