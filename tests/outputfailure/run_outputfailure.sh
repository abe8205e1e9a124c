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
write_grid() {
    awk 'BEGIN {
        n = 120
        for (y = 0; y < n; y++) for (x = 0; x < n; x++) printf "v %d %d %d\n", x, y, (x * y) % 7
        for (y = 0; y < n - 1; y++) for (x = 0; x < n - 1; x++) {
            a = y * n + x + 1
            printf "f %d %d %d\nf %d %d %d\n", a, a + 1, a + n + 1, a, a + n + 1, a + n
        }
    }' > "$1"
}

# run_case <name> <file-size limit in KiB> <expected failed path> <with earlier outputs: yes/no>
run_case() {
    case=$1
    local limit=$2 failed=$3 earlier=$4
    local dir="$scratch/$case"
    rm -rf "$dir"
    mkdir -p "$dir/run" "$dir/kept"
    write_grid "$dir/run/grid.obj"
    if [ "$earlier" = yes ]; then
        printf '/* earlier header */\n' > "$dir/kept/grid.h"
        printf '/* earlier source */\nint earlier;\n' > "$dir/kept/grid.c"
        cp "$dir/kept/grid.h" "$dir/kept/grid.c" "$dir/run/"
    fi
    # The limit applies to the program alone; its output goes through pipes, which the limit does not cover.
    {
        (
            cd "$dir/run" || exit 2
            trap '' XFSZ
            ulimit -f "$limit"
            exec "$polvane" grid.obj
        ) 2>&1 1>&3 | cat > "$dir/stderr"
        echo "${PIPESTATUS[0]}" > "$dir/status"
    } 3>&1 | cat > "$dir/stdout"
    local status
    status=$(cat "$dir/status")

    [ "$status" -eq 255 ] || fail "exit status $status, expected 255"
    [ "$(cat "$dir/stderr")" = "Couldn't write $failed" ] || fail "standard error: '$(head -c 300 "$dir/stderr")'"
    grep -q '^Done!$' "$dir/stdout" && fail "\"Done!\" was printed"
    grep -q "^Writing $failed...\$" "$dir/stdout" || fail "the run never began to write $failed"
    local expected_files="grid.obj "
    if [ "$earlier" = yes ]; then
        expected_files="grid.c grid.h grid.obj "
        cmp -s "$dir/run/grid.h" "$dir/kept/grid.h" || fail "the earlier grid.h was changed"
        cmp -s "$dir/run/grid.c" "$dir/kept/grid.c" || fail "the earlier grid.c was changed"
    fi
    local left
    left=$(cd "$dir/run" && ls -A | sort | tr '\n' ' ')
    [ "$left" = "$expected_files" ] || fail "the folder holds: $left"
}

# The header fits; the source fails half way.
run_case source-fails-half-way 100 grid.c yes
# Nothing at all can be written: the header fails.
run_case header-fails 0 grid.h yes
# Without earlier outputs, a failed run leaves no output at all.
run_case source-fails-no-earlier-outputs 100 grid.c no

# The same model without a limit converts: the limit, not the model, made the runs above fail.
case=unlimited
mkdir -p "$scratch/$case"
write_grid "$scratch/$case/grid.obj"
(cd "$scratch/$case" && "$polvane" grid.obj > stdout 2> stderr) || fail "exit status $?: $(head -c 300 "$scratch/$case/stderr")"
[ "$(wc -c < "$scratch/$case/grid.c")" -gt 204800 ] || fail "grid.c is smaller than the limit used above"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
rm -rf "$scratch"
exit 0
