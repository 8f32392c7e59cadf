#!/bin/sh
# scripts/demo builds the panel and what it needs, never a test or a benchmark: the targets its
# dry run names, from the build's own graph, are held against the build's test and bench targets.
#   demo-builds-no-test-target.sh DEMO BUILD TEST_TARGETS_FILE
set -eu
demo=$1
build=$2
test_targets=$3

would=$("$demo" --dry-run "$build")
printf 'scripts/demo would build:\n%s\n' "$would"
# Neither list may come out empty: an empty one would let anything through.
if ! printf '%s\n' "$would" | grep -qx mervgauge-panel; then
    echo "FAIL: the demo's dry run does not name mervgauge-panel" >&2
    exit 1
fi
if ! grep -qx mervgauge-core-tests "$test_targets"; then
    echo "FAIL: $test_targets does not list mervgauge-core-tests" >&2
    exit 1
fi
both=$(printf '%s\n' "$would" | grep -Fx -f "$test_targets" || true)
if [ -n "$both" ]; then
    printf 'FAIL: scripts/demo would build test or bench targets:\n%s\n' "$both" >&2
    exit 1
fi
