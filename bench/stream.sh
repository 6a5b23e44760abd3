#!/usr/bin/env bash
# zelvora-convert stream beside cs2cs on the same file: one million UTM zone 23 south points on
# SAD 69 to SIRGAS 2000 latitude, longitude and ellipsoidal height, with the same ellipsoids and
# the same three-parameter shift on both sides. Prints points per second of each (best of three
# runs) and their ratio, after checking that the two agree on the points.
#
#   bench/stream.sh [BUILD_BIN_FOLDER] [POINTS]      (default: build/bin, 1000000)
set -euo pipefail
source "$(dirname "$0")/../scripts/setup.sh"
zelvora_install_missing "${zelvora_stream_bench_packages[@]}"

bin=${1:-$zelvora_root/build/bin}
points=${2:-1000000}
tool=$bin/zelvora-convert
[ -x "$tool" ] || { echo "No $tool: build first (./test.sh or cmake --build)"; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Eastings 200 to 800 km, northings 7000 to 8000 km, heights 0 to 1500 m.
awk -v n="$points" 'BEGIN { srand(1); for (i = 0; i < n; i++)
    printf "%.3f %.3f %.2f\n", 200000 + 600000 * rand(), 7000000 + 1000000 * rand(), 1500 * rand() }' \
    > "$work/utm.txt"
cat > "$work/Datum.Cfg" <<'EOF'
6378160,298.25,SAD 69,-66.87,4.37,-38.52
6378137,298.257222101,SIRGAS 2000,0,0,0
EOF

# The options set every part of the state this job reads; no settings file is read.
zelvora=("$tool" --no-settings --datums "$work/Datum.Cfg" --from grid --from-datum 0 --from-family utm
         --from-cm -45 --south --to geodetic --to-datum 1 stream)
cs2cs=(cs2cs --3d +proj=utm +zone=23 +south +a=6378160 +rf=298.25 +towgs84=-66.87,4.37,-38.52
       +to +proj=longlat +a=6378137 +rf=298.257222101 +towgs84=0,0,0 -f %.10f)

seconds() {  # best wall-clock time of three runs of the command, input from utm.txt
  local start end
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    "$@" < "$work/utm.txt" > "$work/out.txt"
    end=$(date +%s.%N)
    echo "$start $end"
  done | awk '{ t = $2 - $1; if (NR == 1 || t < best) best = t } END { printf "%.3f", best }'
}

"${zelvora[@]}" < "$work/utm.txt" > "$work/zelvora.txt"
"${cs2cs[@]}" < "$work/utm.txt" > "$work/cs2cs.txt"
# Both write longitude, latitude, height; they must agree to a millimetre.
paste "$work/zelvora.txt" "$work/cs2cs.txt" | awk '
  { dlon = ($1 - $4) * 111320; dlat = ($2 - $5) * 110570; dh = $3 - $6
    d = sqrt(dlon * dlon + dlat * dlat + dh * dh); if (d > worst) worst = d }
  END { printf "largest difference between the two: %.2g m\n", worst; exit worst > 1e-3 }'

tz=$(seconds "${zelvora[@]}")
tc=$(seconds "${cs2cs[@]}")
awk -v n="$points" -v tz="$tz" -v tc="$tc" -v cores="$(nproc)" 'BEGIN {
  printf "%-36s %10s %16s\n", "UTM 23 S SAD 69 -> SIRGAS 2000", "seconds", "points/second"
  printf "%-36s %10.3f %16.0f\n", "zelvora-convert stream (" cores " cores)", tz, n / tz
  printf "%-36s %10.3f %16.0f\n", "cs2cs --3d", tc, n / tc
  printf "%-36s %10s %15.2fx\n", "ratio", "", tc / tz }'
