#!/usr/bin/env bash
# Runs the program on one rejected input and checks everything the user sees and keeps:
#
#   run_rejected.sh <polvane> <cases folder> <case name> <expected status> <scratch folder>
#
# The input <case name>.obj is copied (or, for the long-line case, generated) into an empty scratch folder next
# to earlier outputs <case name>.h and <case name>.c. The program must exit with the expected status, print
# exactly <case name>.stderr on standard error and only the reading line on standard output, write nothing, and
# leave the earlier outputs byte for byte as they were.
set -u

polvane=$1
cases=$2
name=$3
expected_status=$4
scratch=$5

fail() {
    echo "FAIL ($name): $*" >&2
    exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch/run" "$scratch/kept" || fail "cannot create $scratch"
if [ "$name" = long-line ]; then
    # One line of 10 MiB (an unknown record), then a malformed record on line 2.
    { printf 'o '; head -c 10485760 /dev/zero | tr '\0' 'a'; printf '\nv 1 2\n'; } > "$scratch/run/$name.obj"
else
    cp "$cases/$name.obj" "$scratch/run/$name.obj" || fail "no input $cases/$name.obj"
fi
printf '/* earlier header */\n' > "$scratch/kept/$name.h"
printf '/* earlier source */\nint earlier;\n' > "$scratch/kept/$name.c"
cp "$scratch/kept/$name.h" "$scratch/kept/$name.c" "$scratch/run/"

(cd "$scratch/run" && exec "$polvane" "$name.obj") > "$scratch/stdout" 2> "$scratch/stderr"
status=$?

[ "$status" -eq "$expected_status" ] || fail "exit status $status, expected $expected_status; stderr: $(head -c 300 "$scratch/stderr")"
cmp -s "$scratch/stderr" "$cases/$name.stderr" ||
    fail "standard error differs: got '$(head -c 300 "$scratch/stderr")', expected '$(cat "$cases/$name.stderr")'"
[ "$(cat "$scratch/stdout")" = "Reading objFile..." ] || fail "standard output: '$(head -c 300 "$scratch/stdout")'"
cmp -s "$scratch/run/$name.h" "$scratch/kept/$name.h" || fail "the earlier $name.h was changed"
cmp -s "$scratch/run/$name.c" "$scratch/kept/$name.c" || fail "the earlier $name.c was changed"
left=$(cd "$scratch/run" && ls -A | sort | tr '\n' ' ')
[ "$left" = "$name.c $name.h $name.obj " ] || fail "the folder holds: $left"
rm -rf "$scratch"
exit 0
