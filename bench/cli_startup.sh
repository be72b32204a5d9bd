#!/usr/bin/env bash
# Start-to-exit wall time of kolvane-cli, median of N runs, for one or more
# build folders side by side (e.g. the normal build and a core-only one,
# cmake -B build-core -DKOLVANE_GUI=OFF), and the ratio of the first to the
# last:
#
#   bench/cli_startup.sh [-n RUNS] BUILD_DIR [BUILD_DIR]...
#
# A folder may also be one that holds kolvane-cli itself (a copy with its
# Piples.db and PropLib.db). Output goes to /dev/null, so what is timed is
# the process: loading, the command, exit.
set -euo pipefail

runs=31
if [[ ${1:-} == -n ]]; then runs=$2; shift 2; fi
if (($# == 0)); then
    echo "usage: $0 [-n RUNS] BUILD_DIR [BUILD_DIR]..." >&2
    exit 2
fi
examples=$(cd "$(dirname "$0")/../examples" && pwd)

clis=()
for dir in "$@"; do
    for cli in "$dir/src/app/kolvane-cli" "$dir/kolvane-cli"; do
        if [[ -x $cli ]]; then clis+=("$cli"); continue 2; fi
    done
    echo "$0: no kolvane-cli in $dir" >&2
    exit 2
done

commands=(
    "calc $examples/hot-water-storage-tank.kvp --json"
    "calc $examples/steam-coil-reactor.kvp --json"
    "calc $examples/batch-cooling-coil.kvp --json"
    "prop --fluid 001"
)

# The median wall time of `$@` in milliseconds.
median_ms() {
    local times=() start end
    "$@" >/dev/null 2>&1 || true # warm the page cache
    for ((i = 0; i < runs; i++)); do
        start=$EPOCHREALTIME
        "$@" >/dev/null 2>&1 || true
        end=$EPOCHREALTIME
        times+=("$(((${end/[.,]/} - ${start/[.,]/})))")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{t[NR] = $1} END {printf "%.1f", t[int((NR + 1) / 2)] / 1000}'
}

printf 'median of %d runs, ms\n' "$runs"
printf '%-36s' command
for dir in "$@"; do printf ' %14s' "$(basename "$(realpath "$dir")")"; done
(($# > 1)) && printf ' %8s' ratio
printf '\n'
for command in "${commands[@]}"; do
    read -ra words <<<"$command"
    label="${words[0]} ${words[1]##*/} ${words[*]:2}"
    printf '%-36s' "$label"
    medians=()
    for cli in "${clis[@]}"; do
        m=$(median_ms "$cli" "${words[@]}")
        medians+=("$m")
        printf ' %14s' "$m"
    done
    if (($# > 1)); then
        awk -v a="${medians[0]}" -v b="${medians[-1]}" 'BEGIN {printf " %8.2f", a / b}'
    fi
    printf '\n'
done
