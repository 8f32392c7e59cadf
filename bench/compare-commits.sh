#!/usr/bin/env bash
# Runs two builds of mervgauge-bench in turn (baseline, candidate, baseline, ...) and prints
# each benchmark's median per build and the candidate's median over the baseline's. Taking
# turns spreads the shared machine's changing load over both, so only the ratio means much.
#
#   bench/compare-commits.sh BASELINE_BENCH CANDIDATE_BENCH [ROUNDS] [FILTER]
#
# ROUNDS (default 5) runs per build, each of --benchmark_repetitions=5; the figure per build
# is the median of the runs' medians.
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: bench/compare-commits.sh BASELINE_BENCH CANDIDATE_BENCH [ROUNDS] [FILTER]" >&2
    exit 2
fi
baseline=$1
candidate=$2
rounds=${3:-5}
filter=${4:-'BM_ValueWrite$|BM_FaceRedraw$'}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for ((round = 1; round <= rounds; ++round)); do
    for side in baseline candidate; do
        "${!side}" --benchmark_filter="$filter" --benchmark_repetitions=5 \
            --benchmark_report_aggregates_only=true --benchmark_format=json \
            >"$out/$side-$round.json"
    done
done

# One row per benchmark: the median of each build's run medians (CPU time) and their ratio.
jq -rs --argjson rounds "$rounds" '
    def median: sort | if length % 2 == 1 then .[length / 2 | floor]
                       else (.[length / 2 - 1] + .[length / 2]) / 2 end;
    def medians($side): [.[] | select(.side == $side) | .benchmarks[]
                         | select(.aggregate_name == "median")]
                        | group_by(.run_name) | map({key: .[0].run_name,
                          value: {time: (map(.cpu_time) | median), unit: .[0].time_unit}})
                        | from_entries;
    (medians("baseline")) as $a | (medians("candidate")) as $b
    | "benchmark\tbaseline\tcandidate\tratio",
      ($a | keys[] as $k | select($b[$k])
       | "\($k)\t\($a[$k].time * 100 | round / 100) \($a[$k].unit)\t\($b[$k].time * 100 | round / 100) \($b[$k].unit)\t\($b[$k].time / $a[$k].time * 1000 | round / 1000)x")
' <(for f in "$out"/*.json; do
        side=$(basename "$f" | cut -d- -f1)
        jq --arg side "$side" '. + {side: $side}' "$f"
    done) | column -t -s $'\t'
