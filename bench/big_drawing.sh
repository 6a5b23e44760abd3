#!/usr/bin/env bash
# A drawing of about 200 MB through the DXF rewrite: checks that the whole file comes out (every
# pair, only coordinate values changed, CR LF throughout) and that the peak resident memory
# stays within the source's size plus 64 MB. Too slow for ./test.sh; run it by hand:
#
#   bench/big_drawing.sh [COUNT]        (COUNT coordinate pairs, default 3.3 million)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/setup.sh"
zelvora_install_missing time bc python3-ezdxf
count=${1:-3300000}
tool="$root/build/bin/zelvora-convert"
[ -x "$tool" ] || { echo "build the tool first: ./test.sh" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$root/bench/make_files.py" "$work" "$count"
rm "$work/points.txt" "$work/points.csv"
source_bytes=$(stat -c %s "$work/drawing.dxf")

/usr/bin/time -f "%e %M" -o "$work/time" "$tool" dxf \
  --no-settings --from grid --from-family utm --from-cm -45 --south --from-datum "SAD 69" \
  --to geodetic --to-datum "SIRGAS 2000" "$work/drawing.dxf" "$work/out.dxf" >/dev/null
read -r seconds peak_kb <"$work/time"
limit_kb=$(( source_bytes / 1024 + 64 * 1024 ))
printf "%d coordinate pairs, %.0f MB: %.1f s, peak %.0f MB (limit %.0f MB)\n" "$count" \
  "$(echo "$source_bytes / 1000000" | bc -l)" "$seconds" "$(echo "$peak_kb / 1024" | bc -l)" \
  "$(echo "$limit_kb / 1024" | bc -l)"

/usr/bin/python3 "$root/tests/checkers/dxf-check" -q --raw-only --require-crlf \
  "$work/drawing.dxf" "$work/out.dxf"
if [ "$peak_kb" -gt "$limit_kb" ]; then
  echo "peak memory beyond the source's size plus 64 MB" >&2
  exit 1
fi
