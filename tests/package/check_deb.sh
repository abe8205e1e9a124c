#!/usr/bin/env bash
# Installs polvane with cmake --install and as the Debian package CPack makes, and checks what is installed: the
# control fields, the program, its compressed man page and the licence, and that the installed program converts
# the bundled example exactly like the built one and reports a missing file as the built one does.
#
#   tests/package/check_deb.sh <build-dir> [<scratch-dir> [<built-program>]]
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=${2:-$build/package-check}
built=${3:-$build/polvane}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
failures=0
check() {  # <what> <command...>: counts a failure when the command fails
    local what=$1
    shift
    "$@" || { echo "FAIL: $what" >&2; failures=$((failures + 1)); }
}
rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" > "$scratch/install.log"
check "cmake --install puts polvane in bin" test -x "$scratch/prefix/bin/polvane"
check "cmake --install puts polvane.1.gz in share/man/man1" \
    cmp -s "$source_dir/man/polvane.1" <(gzip -dc "$scratch/prefix/share/man/man1/polvane.1.gz")

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > cpack.log 2>&1) ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
deb=$(echo "$scratch"/out/polvane_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
check "Package field" test "$(field Package)" = polvane
check "Section field" test "$(field Section)" = devel
check "Maintainer field" test -n "$(field Maintainer)"
check "Description says what the program is for" grep -q "Nintendo 64" <(field Description)
check "Architecture field" test "$(field Architecture)" = "$(dpkg --print-architecture)"
check "the package holds usr/bin/polvane, its man page and its copyright file" test "$(dpkg-deb -c "$deb" |
    awk '{print $6}' | grep -cxE '\./usr/bin/polvane|\./usr/share/man/man1/polvane\.1\.gz|\./usr/share/doc/polvane/copyright')" = 3
dpkg -x "$deb" "$scratch/root"
installed=$scratch/root/usr/bin/polvane
copyright=$scratch/root/usr/share/doc/polvane/copyright
check "the copyright file gives the MIT (Expat) licence" grep -qx 'License: Expat' "$copyright"
check "... and its holder" grep -qx 'Copyright: 2026 The Polvane developers' "$copyright"

for program in built installed; do
    mkdir -p "$scratch/$program/examples"
    cp "$source_dir/examples/ship.obj" "$scratch/$program/examples/"
    (cd "$scratch/$program" && "${!program}" -s 100 -u 0.5 -v 0.5 examples/ship.obj > ../$program.out 2>&1
        echo "status $?" >> ../$program.out
        "${!program}" no-such-model.obj >> ../$program.out 2>&1 || echo "status $?" >> ../$program.out)
done
check "the installed program says and writes what the built one does" \
    diff -r "$scratch/built" "$scratch/installed"
check "... and its output" diff "$scratch/built.out" "$scratch/installed.out"
check "the example converts and a missing file exits 255" grep -Pzq \
    '(?s)Done!\nstatus 0\n.*open obj file no-such-model\.obj for reading\nstatus 255\n' \
    "$scratch/installed.out"
check "the example ends its display list" grep -q '^    gsSPEndDisplayList(),$' "$scratch/installed/examples/ship.c"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$scratch/root/usr/share/man/man1/polvane.1.gz" 2>&1 > "$scratch/man.txt")
check "man -l renders the installed page without warnings: $warnings" test -z "$warnings"
check "the man page's NAME line" grep -Eq 'polvane +- +convert a Wavefront OBJ model' "$scratch/man.txt"
if [[ $failures -ne 0 ]]; then
    echo "$failures package check(s) failed; scratch folder kept: $scratch" >&2
    exit 1
fi
rm -rf "$scratch"
