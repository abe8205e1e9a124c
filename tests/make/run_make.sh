#!/usr/bin/env bash
# The README's Makefile pattern with --depfile, run for real on the bundled ship: the first make converts and
# compiles, a second does nothing, touching the texture reconverts without recompiling (the C files are
# unchanged and keep their time), changing the material library reconverts and recompiles.
#
#   run_make.sh <polvane> <examples folder> <scratch folder>
set -u
polvane=$1
examples=$2
scratch=$3
failures=0
fail() {
    echo "FAIL ($step): $*" >&2
    failures=$((failures + 1))
}
rm -rf "$scratch"
mkdir -p "$scratch"
cp "$examples/ship.obj" "$examples/ship.mtl" "$examples/ship.png" "$scratch/"
cd "$scratch" || exit 1
# "Compiling" only records that it ran: the test needs no C compiler.
cat > Makefile <<MAKE
POLVANE := $polvane
all: ship.o
%.d: %.obj
	echo convert >> runs.log
	\$(POLVANE) -q --materials -s 100 --depfile \$@ \$<
%.c %.h: %.d ;
ship.o: ship.c ship.h
	echo compile >> runs.log
	touch \$@
-include ship.d
MAKE

# <step> <what to do first> <runs.log expected after make>
run() {
    step=$1
    rm -f runs.log
    make -s > make.log 2>&1 || fail "make failed: $(cat make.log)"
    local ran
    ran=$([ ! -f runs.log ] || tr '\n' ' ' < runs.log)
    [ "$ran" = "$2" ] || fail "expected \"$2\", make ran \"$ran\""
}
run first-build "convert compile "
run again ""
header_time=$(stat -c %y ship.h 2>/dev/null || stat -f %m ship.h)
sleep 1
touch ship.png
run texture-touched "convert "
[ "$(stat -c %y ship.h 2>/dev/null || stat -f %m ship.h)" = "$header_time" ] || fail "ship.h was rewritten"
run again-after-texture ""
sleep 1
sed -i.bak 's/^Kd .*/Kd 0.5 0.5 0.5/' ship.mtl
run library-changed "convert compile "
run again-after-library ""
exit $((failures != 0))
