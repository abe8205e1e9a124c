#!/usr/bin/env bash
# Builds the Debian package of a configured and built tree, installs it into a scratch root and checks that the
# installed program converts the bundled example exactly like the program in the build tree. Also checks the
# layout of `cmake --install`, the licence, and that the installed (compressed) man page renders without warnings.
#
#   tests/package/check_deb.sh <build-dir> [<scratch-dir> [<built-program>]]
#
# Needs cpack, dpkg-deb and man (groff). The scratch folder (default <build-dir>/package-check) is wiped first;
# the built program defaults to <build-dir>/polvane.
set -euo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: $0 <build-dir> [<scratch-dir> [<built-program>]]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
scratch=${2:-$build/package-check}
built=${3:-$build/polvane}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
example=$source_dir/examples/ship.obj
example_args=(-s 100 -u 0.5 -v 0.5)

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

[[ -f $build/CPackConfig.cmake ]] || { echo "FAIL: $build has no CPackConfig.cmake (Packaging.cmake not included?)" >&2; exit 1; }
[[ -x $built ]] || { echo "FAIL: $built is missing: build the tree first" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"

# --- cmake --install layout ------------------------------------------------------------------------------------
cmake --install "$build" --prefix "$scratch/prefix" > "$scratch/install.log"
if [[ -x $scratch/prefix/bin/polvane ]]; then pass "cmake --install puts polvane in bin"; else fail "bin/polvane not installed"; fi
if gzip -dc "$scratch/prefix/share/man/man1/polvane.1.gz" 2> /dev/null | cmp -s "$source_dir/man/polvane.1" -; then
    pass "cmake --install puts polvane.1.gz in share/man/man1"
else
    fail "share/man/man1/polvane.1.gz missing or different from man/polvane.1"
fi

# --- the package -----------------------------------------------------------------------------------------------
(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1) || {
    cat "$scratch/cpack.log" >&2
    fail "cpack -G DEB failed"
    exit 1
}
debs=("$scratch"/out/polvane_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
    fail "expected one polvane_*.deb in $scratch/out, found: ${debs[*]}"
    exit 1
fi
deb=${debs[0]}
pass "cpack made $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
mark=$failures
[[ $(field Package) == polvane ]] || fail "Package field is '$(field Package)'"
[[ $(field Section) == devel ]] || fail "Section field is '$(field Section)'"
[[ -n $(field Maintainer) ]] || fail "Maintainer field is empty"
[[ $(field Description) == *"Nintendo 64"* ]] || fail "Description does not say what the program is for"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture field is '$(field Architecture)'"
[[ $failures == "$mark" ]] &&
    pass "control fields: $(field Package) $(field Version) $(field Architecture), section $(field Section)"

mark=$failures
dpkg-deb -c "$deb" | awk '{print $6}' | sort > "$scratch/contents.txt"
for path in ./usr/bin/polvane ./usr/share/man/man1/polvane.1.gz ./usr/share/doc/polvane/copyright; do
    grep -qx -- "$path" "$scratch/contents.txt" || fail "package lacks $path"
done

dpkg -x "$deb" "$scratch/root"
installed=$scratch/root/usr/bin/polvane
[[ -x $installed ]] || { fail "dpkg -x gave no usr/bin/polvane"; exit 1; }
copyright=$scratch/root/usr/share/doc/polvane/copyright
grep -qx 'License: Expat' "$copyright" 2> /dev/null && grep -qx 'Copyright: 2026 The Polvane developers' "$copyright" ||
    fail "usr/share/doc/polvane/copyright does not give the MIT (Expat) licence and its holder"
[[ $failures == "$mark" ]] &&
    pass "dpkg -x installs usr/bin/polvane, usr/share/man/man1/polvane.1.gz and usr/share/doc/polvane/copyright"

# --- the installed program against the built one ---------------------------------------------------------------
run_example() {  # <program> <folder>: converts a copy of the example in <folder>; status, stdout, stderr kept beside
    local program=$1 dir=$2
    mkdir -p "$dir/examples"
    cp "$example" "$dir/examples/ship.obj"
    local status=0
    (cd "$dir" && "$program" "${example_args[@]}" examples/ship.obj > "$dir.stdout" 2> "$dir.stderr") || status=$?
    echo "$status" > "$dir.status"
}
mark=$failures
run_example "$built" "$scratch/direct"
run_example "$installed" "$scratch/installed"
[[ $(cat "$scratch/installed.status") == 0 ]] || fail "installed polvane exited $(cat "$scratch/installed.status")"
for part in stdout stderr status; do
    cmp -s "$scratch/direct.$part" "$scratch/installed.$part" || fail "installed and built polvane differ in $part"
done
for file in ship.h ship.c; do
    if [[ ! -s $scratch/installed/examples/$file ]]; then
        fail "installed polvane wrote no examples/$file"
    elif ! cmp -s "$scratch/direct/examples/$file" "$scratch/installed/examples/$file"; then
        fail "examples/$file differs between the installed and the built polvane"
    fi
done
grep -q '^    gsSPEndDisplayList(),$' "$scratch/installed/examples/ship.c" || fail "examples/ship.c has no end of list"
[[ $failures == "$mark" ]] && pass "installed polvane converts the example exactly like the built one"

status=0
"$installed" "$scratch/no-such-model.obj" > /dev/null 2> "$scratch/missing.stderr" || status=$?
[[ $status == 255 ]] || fail "installed polvane on a missing file exited $status, expected 255"
grep -qx "Couldn't open obj file $scratch/no-such-model.obj for reading" "$scratch/missing.stderr" ||
    fail "installed polvane's message for a missing file: $(cat "$scratch/missing.stderr")"

# --- the man page ----------------------------------------------------------------------------------------------
page=$scratch/root/usr/share/man/man1/polvane.1.gz
if warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>&1 > "$scratch/man.txt") && [[ -z $warnings ]] &&
    grep -Eq 'polvane +- +convert a Wavefront OBJ model' "$scratch/man.txt"; then
    pass "man -l renders the installed page without warnings"
else
    fail "man -l on the installed page: ${warnings:-no NAME line}"
fi

if [[ $failures -ne 0 ]]; then
    echo "$failures package check(s) failed; scratch folder kept: $scratch" >&2
    exit 1
fi
rm -rf "$scratch"
echo "package checks passed"
