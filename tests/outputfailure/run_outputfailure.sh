#!/usr/bin/env bash
# Output that cannot be written, for real: a file-size limit (ulimit -f, with SIGXFSZ ignored so that the write
# fails instead of killing the program) makes a write fail part way through. The run must report
# "Couldn't write <path>", exit with status -1 (255), not print "Done!", keep the earlier outputs byte for byte
# and leave no temporary file behind.
#
#   run_outputfailure.sh <polvane> <scratch folder>
set -u
polvane=$1
scratch=$2
failures=0
fail() {
    echo "FAIL ($case): $*" >&2
    failures=$((failures + 1))
}
# A grid of 120 x 120 positions in two triangles per square: about 600 KB of C source.
rm -rf "$scratch"
mkdir -p "$scratch"
awk 'BEGIN {
    n = 120
    for (y = 0; y < n; y++) for (x = 0; x < n; x++) printf "v %d %d %d\n", x, y, (x * y) % 7
    for (a = 1; a < n * (n - 1); a++) if (a % n) printf "f %d %d %d\nf %d %d %d\n", a, a + 1, a + n + 1, a, a + n + 1, a + n
}' > "$scratch/grid.obj"

# <name> <file-size limit in KiB> <expected failed path> <earlier outputs: yes/no>
for row in "source-fails-half-way 100 grid.c yes" "header-fails 0 grid.h yes" "no-earlier-outputs 100 grid.c no"; do
    read -r case limit failed earlier <<< "$row"
    dir=$scratch/$case
    mkdir -p "$dir"
    cp "$scratch/grid.obj" "$dir/"
    [ "$earlier" = no ] || printf '/* earlier header */\n' > "$dir/grid.h"
    [ "$earlier" = no ] || printf '/* earlier source */\nint earlier;\n' > "$dir/grid.c"
    cp -r "$dir" "$dir.kept"
    # The limit applies to the program alone; its output goes through pipes, which the limit does not cover.
    { (cd "$dir" && trap '' XFSZ && ulimit -f "$limit" && exec "$polvane" grid.obj) 2>&1 1>&3 | cat > "$dir.err"
        echo "${PIPESTATUS[0]}" > "$dir.status"; } 3>&1 | cat > "$dir.out"
    status=$(cat "$dir.status")
    [ "$status" -eq 255 ] || fail "exit status $status, expected 255"
    [ "$(cat "$dir.err")" = "Couldn't write $failed" ] || fail "standard error: '$(head -c 300 "$dir.err")'"
    grep -q '^Done!$' "$dir.out" && fail "\"Done!\" was printed"
    grep -q "^Writing $failed...\$" "$dir.out" || fail "the run never began to write $failed"
    diff -r "$dir.kept" "$dir" || fail "the folder changed"
done
# Without a limit the model converts: the limit, not the model, made the runs above fail.
case=unlimited
(cd "$scratch" && "$polvane" grid.obj > /dev/null) || fail "exit status $?"
[ "$(wc -c < "$scratch/grid.c")" -gt 204800 ] || fail "grid.c is smaller than the limit used above"
[ "$failures" -eq 0 ] && rm -rf "$scratch"
[ "$failures" -eq 0 ]
