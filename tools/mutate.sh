#!/usr/bin/env bash
# Mutation check of the test suite: applies one small fault at a time to src/**/*.cpp (a comparison or boolean
# operator flipped, an arithmetic sign flipped, a constant off by one, a `+ 1` or `- 1` dropped), rebuilds, runs
# the tests and counts the mutant as caught when a test fails (or hangs past the time limit).
#
#   tools/mutate.sh [--list] [--seed N] [--count N] [build-folder] [mutant-number...]
#
# The sample is fixed by the seed: each source file gets at least two mutants and otherwise a share by its size,
# and which sites are picked depends on the seed, the file and the text of the line (not its number), so other
# lines moving does not change it. --list prints the sample and stops. Mutant numbers run only those mutants.
# The build folder (default build-mutate) is configured without link-time optimisation, so a mutant rebuilds one
# object and relinks; the quick tests run first and the slow labels only when they all pass.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

seed=13 count=60 list=0 build=build-mutate
picked=()
while [ $# -gt 0 ]; do
    case "$1" in
        --list) list=1 ;;
        --seed) seed=$2; shift ;;
        --count) count=$2; shift ;;
        [0-9]*) picked+=("$1") ;;
        *) build=$1 ;;
    esac
    shift
done
slow_labels='replay|package|windows'
per_mutant=${MUTATE_TIMEOUT:-900}
# MUTATE_EXCLUDE=<label regex> leaves those tests out of the mutant runs (e.g. corpus, for a quicker, stricter
# measure: a mutant caught without them is caught by the whole suite too).
exclude=${MUTATE_EXCLUDE:+-LE $MUTATE_EXCLUDE}

# The kinds of fault: what each matches on a line of code (the mutants replace one match each, see apply).
operators='my %re = ("==" => qr/==/, "!=" => qr/!=/, "<" => qr/(?<= )<(?= )/, ">" => qr/(?<= )>(?= )/,
    "<=" => qr/(?<= )<=(?= )/, ">=" => qr/(?<= )>=(?= )/, "&&" => qr/&&/, "||" => qr/\|\|/,
    "true" => qr/\btrue\b/, "false" => qr/\bfalse\b/, "+1" => qr/ \+ 1\b(?!\.)/, "-1" => qr/ - 1\b(?!\.)/,
    "+" => qr/(?<= )\+(?= )/, "-" => qr/(?<= )-(?= )/, "int" => qr/(?<![\w.])\d+(?![\w.])/);'

# One line per mutant: number, file, line number, operator, which match on the line.
sample() {
    find src -name '*.cpp' | LC_ALL=C sort | perl -MDigest::MD5=md5_hex -e "$operators"'
        my ($seed, $count) = @ARGV;
        my @ops = ("==", "!=", "<", ">", "<=", ">=", "&&", "||", "true", "false", "+1", "-1", "+", "-", "int");
        my (%sites, %size, $total);
        while (my $file = <STDIN>) {
            chomp $file;
            open my $in, "<", $file or die "$file: $!";
            my $n = 0;
            while (my $text = <$in>) {
                $n++;
                next if $text =~ m{^\s*(//|#|$)};
                $size{$file}++; $total++;
                (my $code = $text) =~ s{//.*}{};
                for my $op (@ops) {
                    my $k = () = $code =~ /$re{$op}/g;
                    push @{$sites{$file}}, [md5_hex("$seed|$file|$text|$op|$_"), $n, $op, $_] for 1 .. $k;
                }
            }
        }
        my $id = 0;
        for my $file (sort keys %sites) {
            my $want = int($count * $size{$file} / $total + 0.5);
            $want = 2 if $want < 2;
            my @s = sort { $a->[0] cmp $b->[0] } @{$sites{$file}};
            splice @s, $want if @s > $want;
            printf "%d %s %d %s %d\n", ++$id, $file, @$_[1 .. 3] for sort { $a->[1] <=> $b->[1] } @s;
        }' "$seed" "$count"
}

# Applies mutant <op> at match <which> of line <line> of <file>, in place.
apply() {
    perl -i -e "$operators"'
        my ($line, $op, $which) = splice @ARGV, 0, 3;
        my %to = ("==" => "!=", "!=" => "==", "<" => "<=", ">" => ">=", "<=" => "<", ">=" => ">", "&&" => "||",
                  "||" => "&&", "true" => "false", "false" => "true", "+1" => "", "-1" => "", "+" => "-", "-" => "+");
        while (<>) {
            if ($. == $line) {
                chomp;
                my ($code, $comment) = m{^(.*?)(//.*)?$};
                my $n = 0;
                $code =~ s/$re{$op}/++$n == $which ? ($op eq "int" ? $& + 1 : $to{$op}) : $&/ge;
                $_ = $code . ($comment // "") . "\n";
            }
            print;
        }' "$2" "$3" "$4" "$1"
}

mapfile -t mutants < <(sample)
if [ "$list" = 1 ]; then
    printf '%s\n' "${mutants[@]}"
    exit 0
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 > /dev/null
cmake --build "$build" -j2 > /dev/null
ctest --test-dir "$build" -j2 $exclude > "$build/mutate-clean.log" 2>&1 || {
    echo "the tests fail without any mutant: see $build/mutate-clean.log" >&2
    exit 1
}

keep=$(mktemp)
restore() { [ -z "${current:-}" ] || cp "$keep" "$current"; current=; }
trap 'restore; rm -f "$keep"' EXIT
log=$build/mutate.log
: > "$log"
caught=0 run=0 stillborn=0
for row in "${mutants[@]}"; do
    read -r id file line op which <<< "$row"
    if [ ${#picked[@]} -gt 0 ] && [[ " ${picked[*]} " != *" $id "* ]]; then continue; fi
    cp "$file" "$keep"
    current=$file
    apply "$file" "$line" "$op" "$which"
    what="$id $file:$line $op#$which: $(sed -n "${line}p" "$file" | sed 's/^ *//')"
    if cmp -s "$file" "$keep"; then
        verdict=unchanged
    elif ! timeout "$per_mutant" cmake --build "$build" -j2 >> "$log" 2>&1; then
        verdict=stillborn
    elif ! timeout "$per_mutant" ctest --test-dir "$build" -j2 --stop-on-failure -LE "$slow_labels${MUTATE_EXCLUDE:+|$MUTATE_EXCLUDE}" \
        >> "$log" 2>&1 || ! timeout "$per_mutant" ctest --test-dir "$build" -j2 --stop-on-failure -L "$slow_labels" \
        $exclude >> "$log" 2>&1
    then
        verdict=caught
    else
        verdict=SURVIVED
    fi
    restore
    case "$verdict" in
        caught) caught=$((caught + 1)); run=$((run + 1)) ;;
        SURVIVED) run=$((run + 1)) ;;
        *) stillborn=$((stillborn + 1)) ;;
    esac
    echo "$verdict $what"
done
echo "caught $caught of $run mutants ($stillborn did not build or changed nothing); seed $seed, count $count"
