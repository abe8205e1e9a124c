#!/usr/bin/env bash
# Cross-compiles polvane.exe with MinGW-w64 and checks it end to end under Wine:
#   1. the executable is 64-bit Windows and needs no MinGW runtime DLL (the runtime is linked statically);
#   2. every golden case of tests/golden passes, with Windows line ends: standard output, standard error and the
#      written files must be the expected bytes with every LF turned into CR LF;
#   3. Windows paths: the bundled example and a model given as models\cube.obj convert exactly like the Linux
#      build converts the same models (when a Linux build is given), outputs are replaced on a second run, the
#      input is never overwritten (also when only the case of its name differs), and the error messages and exit
#      statuses are those of the other platforms.
#
#   tests/windows/check_windows.sh <build-dir> [<linux-polvane>]
#
# <build-dir> (e.g. ../build-mingw) is configured with cmake/mingw-w64-x86_64.cmake and built; the Wine prefix and
# the scratch folders live in <build-dir>/windows-check and are removed when every check passes. Needs Debian's
# g++-mingw-w64-x86-64 and wine. Runs headless and non-interactively; prints how long each step took.
set -euo pipefail
export LC_ALL=C

if [[ $# -lt 1 ]]; then
    echo "usage: $0 <build-dir> [<linux-polvane>]" >&2
    exit 2
fi
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
mkdir -p "$1"
build=$(cd "$1" && pwd)
native=${2:-}
if [[ -n $native ]]; then
    native=$(cd "$(dirname "$native")" && pwd)/$(basename "$native")
    [[ -x $native ]] || { echo "FAIL: $native is not an executable" >&2; exit 1; }
fi
scratch=$build/windows-check

for tool in x86_64-w64-mingw32-g++ x86_64-w64-mingw32-objdump wine wineserver cmake; do
    if ! command -v "$tool" > /dev/null; then
        echo "FAIL: $tool not found (apt-get install -y g++-mingw-w64-x86-64 wine)" >&2
        exit 1
    fi
done

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
start=$SECONDS
step_start=$SECONDS
step_done() {
    echo "-- $1: $((SECONDS - step_start)) s"
    step_start=$SECONDS
}

# --- 1. Cross-compile ------------------------------------------------------------------------------------------
cmake -S "$source_dir" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DPOLVANE_TESTS=OFF > "$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; echo "FAIL: configuring the MinGW build" >&2; exit 1; }
cmake --build "$build" --target polvane -j 2 > "$build/build.log" 2>&1 ||
    { cat "$build/build.log" >&2; echo "FAIL: building polvane.exe" >&2; exit 1; }
exe=$build/polvane.exe
[[ -f $exe ]] || exe=$(find "$build" -name polvane.exe -print -quit)
[[ -n $exe && -f $exe ]] || { echo "FAIL: the build made no polvane.exe" >&2; exit 1; }
if grep -q 'warning:' "$build/build.log"; then
    echo "note: the MinGW build printed warnings:" >&2
    grep -A3 'warning:' "$build/build.log" >&2
fi
step_done "cross-compile polvane.exe"

objdump_out=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'file format pei-x86-64' <<< "$objdump_out" || fail "polvane.exe is not a 64-bit Windows executable"
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<< "$objdump_out" | sort -u | tr '\n' ' ')
if grep -Eiq 'libstdc\+\+|libgcc|libwinpthread' <<< "$dlls"; then
    fail "polvane.exe needs MinGW runtime DLLs: $dlls"
else
    echo "ok: polvane.exe is PE32+ x86-64 and imports only system DLLs: $dlls"
fi

# --- Wine, headless, in a prefix of its own --------------------------------------------------------------------
rm -rf "$scratch"
mkdir -p "$scratch"
export WINEPREFIX=$scratch/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer dialogs
unset DISPLAY WAYLAND_DISPLAY
stop_wine() { wineserver -k > /dev/null 2>&1 || true; }
trap stop_wine EXIT
mkdir -p "$WINEPREFIX"
wineserver -p 60   # one server for all the runs below, so that each run starts in a few milliseconds
wineboot --init < /dev/null > "$scratch/wineboot.log" 2>&1 || { cat "$scratch/wineboot.log" >&2; echo "FAIL: wineboot" >&2; exit 1; }
step_done "Wine prefix"

# Runs <program...> in <folder> with stdin closed; keeps standard output, standard error and status beside it.
run_in() {
    local dir=$1
    shift
    local status=0
    (cd "$dir" && "$@" < /dev/null > "$dir.stdout" 2> "$dir.stderr") || status=$?
    # A return value of -1 is what a POSIX shell shows as 255.
    echo "$status" > "$dir.status"
}
to_crlf() { sed -z 's/\n/\r\n/g' "$1"; }
snapshot() {  # lists the files below a folder with their hashes, then the folders
    (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum && find . -mindepth 1 -type d | sort | sed 's/^/dir /')
}

# --- 2. The golden cases ---------------------------------------------------------------------------------------
# <case-dir> <mode: windows|native>; prints nothing and returns 0 when the case passes.
run_golden_case() {
    local case_dir=$1 mode=$2
    local name work
    name=$(basename "$case_dir")
    work=$scratch/golden-$mode/$name
    rm -rf "$work" "$work".*
    mkdir -p "$work"
    [[ -d $case_dir/in ]] && cp -a "$case_dir/in/." "$work/"
    if [[ -f $case_dir/mkdirs ]]; then
        while IFS= read -r d || [[ -n $d ]]; do
            d=${d%$'\r'}
            [[ -n $d ]] && mkdir -p "$work/$d"
        done < "$case_dir/mkdirs"
    fi
    local args=()
    if [[ -f $case_dir/args ]]; then
        while IFS= read -r a || [[ -n $a ]]; do
            a=${a%$'\r'}
            [[ -n $a ]] && args+=("$a")
        done < "$case_dir/args"
    fi
    snapshot "$work" | sort > "$work.before"
    if [[ $mode == windows ]]; then
        run_in "$work" wine "$exe" "${args[@]}"
    else
        run_in "$work" "$native" "${args[@]}"
    fi
    snapshot "$work" | sort > "$work.after"

    local problems=()
    expect() {  # <expected file> <actual file>
        if [[ $mode == windows ]]; then
            cmp -s <(to_crlf "$1") "$2"
        else
            cmp -s "$1" "$2"
        fi
    }
    local stream
    for stream in stdout stderr; do
        if [[ -f $case_dir/expected/$stream ]]; then
            expect "$case_dir/expected/$stream" "$work.$stream" || problems+=("$stream")
        elif [[ -s $work.$stream ]]; then
            problems+=("$stream")
        fi
    done
    local expected_status
    expected_status=$(tr -d ' \r\n' < "$case_dir/expected/status")
    [[ $(cat "$work.status") == "$expected_status" ]] ||
        problems+=("status $(cat "$work.status"), expected $expected_status")

    local expected_files=() f
    if [[ -d $case_dir/expected/files ]]; then
        while IFS= read -r -d '' f; do
            expected_files+=("${f#./}")
        done < <(cd "$case_dir/expected/files" && find . -type f -print0 | sort -z)
    fi
    for f in "${expected_files[@]}"; do
        if [[ ! -f $work/$f ]]; then
            problems+=("$f not written")
        elif ! expect "$case_dir/expected/files/$f" "$work/$f"; then
            problems+=("$f differs")
        fi
    done
    # Every file that appeared or changed must be an expected one; nothing may disappear.
    local changed
    changed=$(comm -13 "$work.before" "$work.after" | sed -E 's/^(dir |[0-9a-f]{64}  )//; s|^\./||' | sort)
    for f in $changed; do
        if ! printf '%s\n' "${expected_files[@]}" | grep -qxF -- "$f"; then
            problems+=("unexpected new or changed $f")
        fi
    done
    local removed
    removed=$(comm -23 <(sed -E 's/^(dir |[0-9a-f]{64}  )//' "$work.before" | sort) \
        <(sed -E 's/^(dir |[0-9a-f]{64}  )//' "$work.after" | sort) | tr '\n' ' ')
    [[ -z $removed ]] || problems+=("removed: $removed")

    if [[ ${#problems[@]} -ne 0 ]]; then
        local IFS=';'
        echo "${problems[*]}"
        return 1
    fi
    rm -rf "$work" "$work".*
    return 0
}

# True when a case gave the same results under Wine as with the Linux build, line ends aside.
same_as_native() {
    local win=$scratch/golden-windows/$1 lin=$scratch/golden-native/$1 part f
    for part in stdout stderr; do
        cmp -s <(to_crlf "$lin.$part") "$win.$part" || return 1
    done
    cmp -s "$lin.status" "$win.status" || return 1
    [[ $(cd "$lin" && find . | sort) == "$(cd "$win" && find . | sort)" ]] || return 1
    while IFS= read -r -d '' f; do
        if grep -qxF -- "${f#./}" <(cd "$lin" && find . -type f -name '*.obj' | sed 's|^\./||'); then
            continue  # inputs are copied as they are
        fi
        cmp -s <(to_crlf "$lin/$f") "$win/$f" || cmp -s "$lin/$f" "$win/$f" || return 1
    done < <(cd "$lin" && find . -type f -print0)
    return 0
}

golden_total=0
golden_failed=0
for case_dir in "$source_dir"/tests/golden/*/; do
    case_dir=${case_dir%/}
    [[ -f $case_dir/expected/status ]] || continue
    golden_total=$((golden_total + 1))
    if ! case_problems=$(run_golden_case "$case_dir" windows); then
        golden_failed=$((golden_failed + 1))
        note=""
        if [[ -n $native ]] && ! run_golden_case "$case_dir" native > /dev/null; then
            if same_as_native "$(basename "$case_dir")"; then
                note=" (the Linux build gives the same result)"
            else
                note=" (fails with the Linux build too, but differently)"
            fi
        fi
        fail "golden case $(basename "$case_dir") under Wine$note: $case_problems"
    fi
done
echo "ok: $((golden_total - golden_failed)) of $golden_total golden cases pass under Wine with CR LF line ends"
step_done "golden cases under Wine"

# --- 3. Windows paths, the example, replacing outputs, the input's safety, errors --------------------------------
check() {  # <description> <condition...>
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}
same_crlf() { cmp -s <(to_crlf "$1") "$2"; }
has_crlf_lines_only() {  # every line ends with CR LF, and there is at least one line
    [[ -s $1 ]] && ! grep -q $'[^\r]$' "$1" && ! grep -q '^$' "$1" && [[ $(tail -c 2 "$1" | od -An -c | tr -d ' ') == '\r\n' ]]
}

# The bundled example, as the README converts it.
ex=$scratch/example-win
mkdir -p "$ex/examples"
cp "$source_dir/examples/ship.obj" "$ex/examples/"
run_in "$ex" wine "$exe" -s 100 -u 0.5 -v 0.5 'examples\ship.obj'
check "the example converts under Wine (status 0)" test "$(cat "$ex.status")" = 0
check "examples\\ship.c has CR LF line ends only" has_crlf_lines_only "$ex/examples/ship.c"
check "examples\\ship.h has CR LF line ends only" has_crlf_lines_only "$ex/examples/ship.h"
if [[ -n $native ]]; then
    exn=$scratch/example-linux
    mkdir -p "$exn/examples"
    cp "$source_dir/examples/ship.obj" "$exn/examples/"
    run_in "$exn" "$native" -s 100 -u 0.5 -v 0.5 examples/ship.obj
    check "examples\\ship.h is the Linux output with CR LF" same_crlf "$exn/examples/ship.h" "$ex/examples/ship.h"
    check "examples\\ship.c is the Linux output with CR LF" same_crlf "$exn/examples/ship.c" "$ex/examples/ship.c"
    check "progress lines name examples\\ship.h and examples\\ship.c" \
        cmp -s <(sed 's|examples/|examples\\|' "$exn.stdout" | to_crlf /dev/stdin) "$ex.stdout"
fi

# models\cube.obj: outputs beside the input, names from the file name alone.
cube_obj='v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
v 0 0 1
v 1 0 1
v 1 1 1
v 0 1 1
f 1 4 3 2
f 5 6 7 8
f 1 2 6 5
f 2 3 7 6
f 3 4 8 7
f 4 1 5 8
'
win=$scratch/paths-win
mkdir -p "$win/models"
printf '%s' "$cube_obj" > "$win/models/cube.obj"
run_in "$win" wine "$exe" 'models\cube.obj'
check 'models\cube.obj converts (status 0)' test "$(cat "$win.status")" = 0
check 'models\cube.obj gives exactly models\cube.h and models\cube.c' \
    test "$(cd "$win" && find . -type f | sort | tr '\n' ' ')" = "./models/cube.c ./models/cube.h ./models/cube.obj "
check 'models\cube.c includes "cube.h"' grep -q '^#include "cube.h"'$'\r''$' "$win/models/cube.c"
check 'models\cube.c defines cubeModel' grep -q '^model cubeModel = { cubeVertices, cubeDisplayList };'$'\r''$' \
    "$win/models/cube.c"
check 'progress names models\cube.h' grep -qxF 'Writing models\cube.h...'$'\r' "$win.stdout"
if [[ -n $native ]]; then
    lin=$scratch/paths-linux
    mkdir -p "$lin/models"
    printf '%s' "$cube_obj" > "$lin/models/cube.obj"
    run_in "$lin" "$native" models/cube.obj
    check 'models\cube.c is the Linux output with CR LF' same_crlf "$lin/models/cube.c" "$win/models/cube.c"
    check 'models\cube.h is the Linux output with CR LF' same_crlf "$lin/models/cube.h" "$win/models/cube.h"
fi

# A second run replaces the outputs (renaming over an existing file needs care on Windows).
cp "$win/models/cube.c" "$scratch/cube.c.first"
printf 'stale\r\n' > "$win/models/cube.h"
run_in "$win" wine "$exe" 'models\cube.obj'
check "a second run replaces existing outputs (status 0)" test "$(cat "$win.status")" = 0
check "the replaced cube.c is complete" cmp -s "$scratch/cube.c.first" "$win/models/cube.c"
check "the stale cube.h was replaced" grep -q '^#ifndef cube_H' "$win/models/cube.h"
check "no temporary file is left beside the outputs" \
    test "$(cd "$win" && find . -type f | sort | tr '\n' ' ')" = "./models/cube.c ./models/cube.h ./models/cube.obj "

# Errors and exit statuses.
err=$scratch/errors
mkdir -p "$err/models"
printf '%s' "$cube_obj" > "$err/models/cube.obj"
expect_error() {  # <status> <stderr line> <arguments...>
    local status=$1 line=$2
    shift 2
    run_in "$err" wine "$exe" "$@"
    if [[ $(cat "$err.status") == "$status" ]] && cmp -s <(printf '%s\r\n' "$line") "$err.stderr"; then
        echo "ok: polvane $* -> status $status, \"$line\""
    else
        fail "polvane $*: status $(cat "$err.status") (expected $status), stderr: $(tr -d '\r' < "$err.stderr")"
    fi
}
expect_error 255 "Couldn't open obj file models\\nothere.obj for reading" 'models\nothere.obj'
expect_error 1 "Unexpected argument models\\other.obj: options come first, the model path last" 'models\other.obj' \
    'models\cube.obj'
expect_error 1 "Missing value for option -c" -c 1 'models\cube.obj'
printf '%s' "$cube_obj" > "$err/models/cube.c"
expect_error 255 "Refusing to overwrite the input file models\\cube.c" 'models\cube.c'
# Windows file names ignore case: CUBE.c is the input CUBE.C itself.
printf '%s' "$cube_obj" > "$err/models/CUBE.C"
expect_error 255 "Refusing to overwrite the input file models\\CUBE.C" 'models\CUBE.C'
check "the inputs are unchanged" cmp -s <(printf '%s' "$cube_obj") "$err/models/CUBE.C"
check "failed runs wrote nothing" \
    test "$(cd "$err" && find . -type f | sort | tr '\n' ' ')" = "./models/CUBE.C ./models/cube.c ./models/cube.obj "
printf 'v 0 0 0\nv 1 0 0\nf 1 2\n' > "$err/models/bad.obj"
expect_error 255 'models\bad.obj:3: face needs at least 3 corners, found 2' 'models\bad.obj'
step_done "Windows paths, example and errors under Wine"

echo "-- Windows check: $((SECONDS - start)) s in all"
if [[ $failures -ne 0 ]]; then
    echo "$failures Windows check(s) failed; scratch folder kept: $scratch" >&2
    exit 1
fi
stop_wine
rm -rf "$scratch"
echo "Windows checks passed"
