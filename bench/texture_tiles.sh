#!/bin/sh
# Cost of --texture-max: a generated textured model (generate_models SHAPE full TRIANGLES, given one material with
# a 1024x1024 texture of many colours) converted with --materials at one load and at --texture-max 256. Prints the
# median wall time of each (process_timer) and each run's peak memory (GNU time), and the cutting's --stats.
# Usage: bench/texture_tiles.sh BUILD_DIR [TRIANGLES] [SHAPE] [RUNS]   (BUILD_DIR built with -DPOLVANE_BENCH=ON)
set -eu
build=$1
triangles=${2:-100000}
shape=${3:-sphere}
runs=${4:-11}
find_tool() { find "$build" -type f -name "$1" -perm -u+x -print -quit; }
generate=$(find_tool generate_models)
timer=$(find_tool process_timer)
polvane=$(find_tool polvane)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
"$generate" "$shape" full "$triangles" plain.obj >/dev/null
{ printf 'mtllib tiles.mtl\nusemtl tiles\n'; cat plain.obj; } > textured.obj
printf 'newmtl tiles\nmap_Kd tiles.png\n' > tiles.mtl
python3 - <<'PY'
import struct, zlib
w = h = 1024
rows = bytearray()
for y in range(h):
    rows.append(0)
    for x in range(w):
        rows += bytes(((x * 7 + y * 3) & 255, (x ^ y) & 255, (x * y >> 6) & 255))
chunk = lambda t, d: struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
open('tiles.png', 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) +
                              chunk(b'IDAT', zlib.compress(bytes(rows), 6)) + chunk(b'IEND', b''))
PY
printf '| %s %s triangles | wall ms | CPU ms | peak RSS MiB |\n|---|---|---|---|\n' "$shape" "$triangles"
for options in "" "--texture-max 256"; do
    # shellcheck disable=SC2086
    set -- $("$timer" "$runs" "$polvane" -q --materials $options textured.obj 2>/dev/null)
    # shellcheck disable=SC2086
    rss=$(/usr/bin/time -v "$polvane" -q --materials $options textured.obj 2>&1 >/dev/null |
          sed -n 's/.*Maximum resident set size (kbytes): //p')
    printf '| --materials %s | %s | %s | %s |\n' "${options:-(one load)}" "$1" "$2" "$(echo "$rss" | awk '{ printf "%.1f", $1 / 1024 }')"
done
"$polvane" -q --materials --texture-max 256 --stats textured.obj 2>/dev/null | grep '^Material'
