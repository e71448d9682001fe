#!/usr/bin/env bash
# Whole-process measurements of the table engine beside pxlib, shapelib and minimal hand
# decoders: each run is a fresh process timed by /usr/bin/time -v (wall time, peak resident
# memory), the median of RUNS runs. Needs a Release build with -DVANTELO_BENCHMARKS=ON.
#   tests/bench_db/whole_process.sh BUILD_DIR [SIZES...]   (sizes default: 100000 1000000 3000000)
# Environment: RUNS (default 3), OLD=another build's bench_open to compare with.
# The start rows (bench_start) run offscreen unless QT_QPA_PLATFORM is set (xcb under xvfb-run).
set -euo pipefail
build=${1:?build directory}
shift || true
sizes=("${@:-100000 1000000 3000000}")
[ $# -eq 0 ] && sizes=(100000 1000000 3000000)
runs=${RUNS:-3}
bin=$build/tests/bench_db/bench_open
old=${OLD:-}
start=$build/tests/bench_db/bench_start
start_qpa=${QT_QPA_PLATFORM:-offscreen}
dir=$(mktemp -d "${TMPDIR:-/tmp}/vantelo-whole-XXXXXX")
trap 'rm -rf "$dir"' EXIT

# One measurement: prints "seconds peak_MB" (medians) and checks every run printed the same line.
measure() {
    local ts=() ms=() out first=""
    for ((i = 0; i < runs; i++)); do
        /usr/bin/time -v -o "$dir/time" "$@" >"$dir/out"
        out=$(cat "$dir/out")
        if [ -z "$first" ]; then first=$out; fi
        ts+=("$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,a,":"); s=0; for(i=1;i<=n;i++) s=s*60+a[i]; print s}' "$dir/time")")
        ms+=("$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2/1024}' "$dir/time")")
    done
    echo "$(printf '%s\n' "${ts[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p") $(printf '%s\n' "${ms[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p") $first"
}

# As measure, with the wall time to the millisecond (time -v gives hundredths): for the start
# rows, whose times are a tenth of a second.
measure_ms() {
    local ts=() ms=() out first="" t0 t1
    for ((i = 0; i < runs; i++)); do
        t0=$(date +%s%N)
        /usr/bin/time -v -o "$dir/time" "$@" >"$dir/out"
        t1=$(date +%s%N)
        out=$(cat "$dir/out")
        if [ -z "$first" ]; then first=$out; fi
        ts+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.4f", (b - a) / 1e9}')")
        ms+=("$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2/1024}' "$dir/time")")
    done
    echo "$(printf '%s\n' "${ts[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p") $(printf '%s\n' "${ms[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p") $first"
}

row() {  # work, file, label, measurement
    local label=$1 file=$2; shift 2
    read -r t m out < <(measure "$@")
    printf '| %-34s | %8.3f s | %8.1f MB | %6.2f | %s |\n' "$label" "$t" "$m" \
        "$(awk -v m="$m" -v f="$(stat -c %s "$file")" 'BEGIN {printf "%.2f", m * 1048576 / f}')" "$out"
    echo "$t" >"$dir/last"
}

for n in "${sizes[@]}"; do
    "$bin" gen "$n" "$dir"
    db=$dir/pop.db dbf=$dir/pop.dbf
    echo
    echo "### $n records: pop.db $(stat -c %s "$db") bytes, pop.dbf $(stat -c %s "$dbf") bytes"
    echo
    echo "| work | time | peak | peak/file | count, sum |"
    echo "|---|---|---|---|---|"
    row "cat .db" "$db" sh -c "cat '$db' >/dev/null"
    row "cat .dbf" "$dbf" sh -c "cat '$dbf' >/dev/null"
    for f in "$db" "$dbf"; do
        ext=${f##*.}
        row "Vantelo open+read .$ext" "$f" "$bin" ours "$f"
        [ -n "$old" ] && row "Vantelo (old build) open+read .$ext" "$f" "$old" ours "$f"
        if [ "$ext" = db ]; then
            row "hand decoder .db" "$f" "$bin" hand "$f"
            [ "$n" -le 1000000 ] && row "pxlib .db" "$f" "$bin" pxlib "$f"
        else
            row "from_chars loop .dbf" "$f" "$bin" chars "$f"
            [ "$n" -le 1000000 ] && row "shapelib .dbf" "$f" "$bin" shapelib "$f"
        fi
    done
    for ext in db dbf; do
        rm -f "$dir/w.$ext"
        row "Vantelo write .$ext" "$dir/pop.$ext" "$bin" write "$n" "$dir/w.$ext"
        if [ -n "$old" ]; then rm -f "$dir/w.$ext"; row "Vantelo (old build) write .$ext" "$dir/pop.$ext" "$old" write "$n" "$dir/w.$ext"; fi
        row "cat + fsync .$ext" "$dir/pop.$ext" sh -c "cat '$dir/pop.$ext' > '$dir/c.$ext' && sync '$dir/c.$ext'"
        rm -f "$dir/w.$ext" "$dir/c.$ext"
    done
    # The program's start to the first paint of its grid: without a table, then with each file
    # opened through 打开 (offscreen unless QT_QPA_PLATFORM says otherwise). The open rows give
    # their time and peak as multiples of the start without a table.
    if [ -x "$start" ]; then
        read -r st sm sout < <(measure_ms env QT_QPA_PLATFORM="$start_qpa" QT_LOGGING_RULES="*.warning=false" "$start" empty)
        printf '| %-34s | %8.3f s | %8.1f MB | %6s | %s |\n' "start, no table" "$st" "$sm" "" "$sout"
        for f in "$db" "$dbf"; do
            read -r t m out < <(measure_ms env QT_QPA_PLATFORM="$start_qpa" QT_LOGGING_RULES="*.warning=false" "$start" open "$f")
            printf '| %-34s | %8.3f s | %8.1f MB | %6.2f | %s; %.2fx the time, %.2fx the peak of the start |\n' \
                "start + 打开 .${f##*.}, first paint" "$t" "$m" \
                "$(awk -v m="$m" -v f="$(stat -c %s "$f")" 'BEGIN {printf "%.2f", m * 1048576 / f}')" "$out" \
                "$(awk -v a="$t" -v b="$st" 'BEGIN {print a / b}')" "$(awk -v a="$m" -v b="$sm" 'BEGIN {print a / b}')"
        done
    fi
done
