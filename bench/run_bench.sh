#!/usr/bin/env bash
# Speed and memory benchmark of the whole conversion.
#
#   bench/run_bench.sh [BUILD_DIR]
#
# Builds the converter and the benchmark tools in BUILD_DIR (default: build-bench at the top of the repository)
# with POLVANE_BENCH=ON, generates the sphere, torus and grid models (full and plain) at about 1 000, 100 000 and
# 1 000 000 triangles in a scratch folder, and for each one measures:
#   - the whole conversion: `polvane model.obj` as a process in the model's folder, median of several runs;
#   - tinyobjloader's LoadObj (triangulating) on the same file, median of as many runs, one process each (later
#     calls in one process reuse the memory the first one faulted in, and on a virtual machine run much faster);
#   - for models under 10 000 triangles, an empty process start, as many runs;
#   - the converter's peak memory (/usr/bin/time -v, maximum resident set size).
# The runs go in rounds, each command once a round, so that what is compared meets the machine in the same state
# (runs of one command in a row are faster there than runs between others). It prints a markdown table and the
# targets, and writes them to
# BUILD_DIR/bench-results.md. Needs: cmake, a C and C++ compiler, libtinyobjloader-dev and GNU time
# (apt-get install libtinyobjloader-dev time).
#
# Models of OPTIMIZE_FROM triangles and more (default 1 000 000) are also converted with `--ucode U --optimize` for
# each U in OPTIMIZE_UCODES (default "f3dex3 f3dex2"; empty skips this): processor time against the plain
# conversion's (target 1.5 x) and peak memory against the input's size (target 2 x), RUNS_OPTIMIZE runs
# (default 3).
# Environment: SIZES (default "1000 100000 1000000"), SHAPES ("sphere torus grid"), KINDS ("full plain"),
# RUNS_LARGE (runs at 1 000 000 and above, default 7), RUNS_MEDIUM (default 11), RUNS_SMALL (below 10 000,
# default 51), SCRATCH (scratch folder, default a fresh one under /tmp, removed at the end).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench}
sizes=${SIZES:-"1000 100000 1000000"}
shapes=${SHAPES:-"sphere torus grid"}
kinds=${KINDS:-"full plain"}
runs_large=${RUNS_LARGE:-7}
runs_medium=${RUNS_MEDIUM:-11}
runs_small=${RUNS_SMALL:-51}
optimize_from=${OPTIMIZE_FROM:-1000000}
optimize_ucodes=${OPTIMIZE_UCODES-"f3dex3 f3dex2"}
runs_optimize=${RUNS_OPTIMIZE:-3}

if [[ ! -x /usr/bin/time ]]; then
    echo "run_bench.sh: GNU time is missing (apt-get install time)" >&2
    exit 1
fi

cmake -S "$root" -B "$build" -DPOLVANE_BENCH=ON -DPOLVANE_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target generate_models process_timer empty_main loadobj_bench >/dev/null
polvane_built=yes
if ! cmake --build "$build" -j2 --target polvane >/dev/null 2>&1; then
    polvane_built=no
    echo "run_bench.sh: the converter does not build; measuring LoadObj and the empty start only" >&2
fi

find_tool() { # the tool's path in the build folder: where this project puts it, else wherever the generator did
    local found
    for found in "$build/$1" "$build/bench/$1"; do
        [[ -f $found && -x $found ]] && { echo "$found"; return 0; }
    done
    found=$(find "$build" -type f -name "$1" -perm -u+x -print -quit)
    [[ -n $found ]] || { echo "run_bench.sh: $1 not found under $build" >&2; return 1; }
    echo "$found"
}
# With CPU set, every timed command runs on that processor alone (taskset): on a virtual machine whose processors
# run at different speeds from minute to minute, the ratios then compare runs on the same one.
on_cpu() {
    if [[ -n ${CPU:-} ]]; then
        taskset -c "$CPU" "$@"
    else
        "$@"
    fi
}
generate=$(find_tool generate_models)
timer=$(find_tool process_timer)
empty=$(find_tool empty_main)
loadobj=$(find_tool loadobj_bench)
polvane=""
if [[ $polvane_built == yes ]]; then
    polvane=$(find_tool polvane)
fi

if [[ -n ${SCRATCH:-} ]]; then
    scratch=$SCRATCH
    mkdir -p "$scratch"
else
    scratch=$(mktemp -d /tmp/polvane-bench.XXXXXX)
    trap 'rm -rf "$scratch"' EXIT
fi

runs_for() { # number of timed runs for a model of $1 triangles
    if (( $1 >= 1000000 )); then echo "$runs_large"
    elif (( $1 >= 10000 )); then echo "$runs_medium"
    else echo "$runs_small"; fi
}

calc() { awk "BEGIN { printf \"$1\", $2 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
verdict() { awk "BEGIN { exit !($1) }" && echo met || echo MISSED; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# Per model key (shape-kind-size): wall and processor milliseconds of the conversion, of LoadObj and (small models)
# of the empty start.
declare -A conv_ms=() conv_cpu=() load_ms=() load_cpu=() empty_ms=() empty_cpu=()
rows=()
optimize_rows=()
memory_rows=()
memory_ok=yes
for size in $sizes; do
    runs=$(runs_for "$size")
    for shape in $shapes; do
        for kind in $kinds; do
            key="$shape-$kind-$size"
            dir="$scratch/$key"
            mkdir -p "$dir"
            model="${shape}_${kind}.obj"
            triangles=$("$generate" "$shape" "$kind" "$size" "$dir/$model")
            bytes=$(stat -c %s "$dir/$model")
            mb=$(calc "%.1f" "$bytes / 1000000")

            : >"$dir/load.times"
            : >"$dir/conversion.times"
            : >"$dir/empty.times"
            conversion_failed=no
            for (( run = 0; run < runs; ++run )); do
                on_cpu "$loadobj" "$dir/$model" 1 >>"$dir/load.times"
                if [[ -n $polvane ]] && ! (cd "$dir" && on_cpu "$timer" 1 "$polvane" "$model") >>"$dir/conversion.times"; then
                    conversion_failed=yes
                fi
                if (( size < 10000 )); then
                    on_cpu "$timer" 1 "$empty" >>"$dir/empty.times"
                fi
            done
            load_triangles=$(cut -d' ' -f3 "$dir/load.times" | sort -u | tr '\n' ' ')
            if [[ $load_triangles != "$triangles " ]]; then
                echo "run_bench.sh: LoadObj found $load_triangles triangles in $model, expected $triangles" >&2
                exit 1
            fi
            load_ms[$key]=$(cut -d' ' -f1 "$dir/load.times" | median)
            load_cpu[$key]=$(cut -d' ' -f2 "$dir/load.times" | median)
            if [[ -s $dir/empty.times ]]; then
                empty_ms[$key]=$(cut -d' ' -f1 "$dir/empty.times" | median)
                empty_cpu[$key]=$(cut -d' ' -f2 "$dir/empty.times" | median)
            fi

            conv="n/a" cpu="n/a" speed="n/a" ratio="n/a" rss_mb="n/a"
            limit_mb=$(calc "%.1f" "(2 * $bytes + 10 * 1048576) / 1048576")
            if [[ $conversion_failed == yes ]]; then
                conv="failed"
            elif [[ -n $polvane ]]; then
                conv=$(cut -d' ' -f1 "$dir/conversion.times" | median)
                cpu=$(cut -d' ' -f2 "$dir/conversion.times" | median)
            fi
            if [[ $conv != "n/a" && $conv != "failed" ]]; then
                conv_ms[$key]=$conv
                conv_cpu[$key]=$cpu
                speed=$(calc "%.0f" "$bytes / 1000 / $conv")
                ratio=$(calc "%.2f" "$conv / ${load_ms[$key]}")
                rss_kb=$(cd "$dir" && /usr/bin/time -v "$polvane" "$model" 2>&1 >/dev/null |
                    awk -F': ' '/Maximum resident set size/ { print $2 }')
                rss_mb=$(calc "%.1f" "$rss_kb / 1024")
                if awk "BEGIN { exit !($rss_kb * 1024 > 2 * $bytes + 10 * 1048576) }"; then
                    memory_ok=no
                    memory_rows+=("| peak memory <= 2 x input + 10 MiB | $shape $kind $triangles | $rss_mb | | $limit_mb | MISSED | |")
                fi
            fi
            rows+=("| $shape $kind | $triangles | $mb | $conv | $cpu | $speed | ${load_ms[$key]} | ${load_cpu[$key]} | $ratio | $rss_mb | $limit_mb |")
            if [[ -n ${conv_cpu[$key]:-} ]] && (( triangles >= optimize_from )); then
                for ucode in $optimize_ucodes; do
                    # The plain conversion for the same microcode, then the optimised one, both as processes.
                    read -r _ plain_cpu < <(cd "$dir" && on_cpu "$timer" "$runs_optimize" "$polvane" --ucode "$ucode" "$model")
                    if ! times=$(cd "$dir" && on_cpu "$timer" "$runs_optimize" "$polvane" --ucode "$ucode" --optimize "$model"); then
                        optimize_rows+=("| $shape $kind | $ucode | $plain_cpu | failed | | | | | |")
                        continue
                    fi
                    read -r opt_ms opt_cpu <<<"$times"
                    opt_kb=$(cd "$dir" && /usr/bin/time -v "$polvane" --ucode "$ucode" --optimize "$model" 2>&1 >/dev/null |
                        awk -F': ' '/Maximum resident set size/ { print $2 }')
                    time_ratio=$(calc "%.2f" "$opt_cpu / $plain_cpu")
                    memory_ratio=$(calc "%.2f" "$opt_kb * 1024 / $bytes")
                    optimize_rows+=("| $shape $kind | $ucode | $plain_cpu | $opt_cpu | $opt_ms | $time_ratio | $(calc "%.1f" "$opt_kb / 1024") | $memory_ratio | $(verdict "$time_ratio <= 1.5") / $(verdict "$memory_ratio <= 2") |")
                done
            fi
            rm -rf "$dir"
        done
    done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)


# One row of the targets table: target, model, numerator key, denominator (wall) and (processor), limit.
target_row() {
    local wall cpu
    wall=$(calc "%.2f" "$3 / $4")
    cpu=$(calc "%.2f" "$5 / $6")
    echo "| $1 | $2 | $wall | $cpu | $7 | $(verdict "$wall <= $7") | $(verdict "$cpu <= $7") |"
}

{
    echo "| model | triangles | input MB | conversion ms | conversion CPU ms | MB/s | LoadObj ms | LoadObj CPU ms | conversion / LoadObj | peak RSS MiB | limit MiB |"
    echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
    printf '%s\n' "${rows[@]}"
    echo
    if (( ${#empty_cpu[@]} > 0 )); then
        echo "Empty process start, in the rounds of the models under 10 000 triangles: $(printf '%s\n' "${empty_cpu[@]}" |
            sort -g | sed -n '1p;$p' | paste -sd '-') ms CPU (medians of $runs_small each)."
    fi
    echo "Times are medians; ms is wall time, CPU is user + system time of the process."
    echo
    echo "| target | model | wall | CPU | limit | result (wall) | result (CPU) |"
    echo "|---|---|---:|---:|---:|---|---|"
    for shape in $shapes; do
        for kind in $kinds; do
            key="$shape-$kind-1000000"
            if [[ -n ${conv_ms[$key]:-} ]]; then
                target_row "conversion / LoadObj at 1M" "$shape $kind" "${conv_ms[$key]}" "${load_ms[$key]}" \
                    "${conv_cpu[$key]}" "${load_cpu[$key]}" 0.8
            fi
        done
    done
    for shape in $shapes; do
        for kind in $kinds; do
            key="$shape-$kind-1000"
            if [[ -n ${conv_ms[$key]:-} ]]; then
                target_row "1k conversion / empty start" "$shape $kind" "${conv_ms[$key]}" "${empty_ms[$key]}" \
                    "${conv_cpu[$key]}" "${empty_cpu[$key]}" 1.3
            fi
        done
    done
    for shape in $shapes; do
        for kind in $kinds; do
            big="$shape-$kind-1000000" mid="$shape-$kind-100000"
            if [[ -n ${conv_ms[$big]:-} && -n ${conv_ms[$mid]:-} ]]; then
                target_row "time(1M) / time(100k)" "$shape $kind" "${conv_ms[$big]}" "${conv_ms[$mid]}" \
                    "${conv_cpu[$big]}" "${conv_cpu[$mid]}" 11
            fi
        done
    done
    if [[ -n $polvane ]]; then
        if [[ $memory_ok == yes ]]; then
            echo "| peak memory <= 2 x input + 10 MiB | every model | | | | met | |"
        else
            printf '%s\n' "${memory_rows[@]}"
        fi
    fi
    if (( ${#optimize_rows[@]} > 0 )); then
        echo
        echo "\`--optimize\` ($runs_optimize runs, medians): processor ms of the plain and the optimised conversion for the"
        echo "same microcode, their ratio (target <= 1.5), and the optimised run's peak memory against the input's size"
        echo "(target <= 2)."
        echo
        echo "| model | ucode | plain CPU ms | optimize CPU ms | optimize ms | CPU ratio | peak RSS MiB | RSS / input | time / memory |"
        echo "|---|---|---:|---:|---:|---:|---:|---:|---|"
        printf '%s\n' "${optimize_rows[@]}"
    fi
    echo
    echo "Machine: $(lscpu 2>/dev/null | awk -F': *' '/^Model name/ { print $2; exit }'), $(nproc) cores," \
        "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo);" \
        "$(c++ --version | head -n 1); $(date -u +%Y-%m-%d)."
    echo "Load average (1, 5, 15 min) before the run: $load_before; after: $load_after."
    if awk "BEGIN { exit !(${load_before%% *} > 0.5 || ${load_after%% *} > 1.5) }"; then
        echo "Other work shared the machine during the run: wall times are inflated and noisy; the CPU columns are"
        echo "the better guide, and the targets should be confirmed on a quiet machine."
    fi
} | tee "$build/bench-results.md"
