#!/usr/bin/env bash
# Qt Designer itself, started on a virtual display with the build's plugin folder, loads the
# gauge's plugin. Usage: designer-loads-plugin.sh PLUGIN_ROOT (the folder holding designer/).
set -uo pipefail
plugins=$1
designer=/usr/lib/qt6/bin/designer
startup_seconds=60 # Designer on a loaded two-core machine can take a while to scan its plugins
if [ ! -x "$designer" ] || ! command -v xvfb-run >/dev/null; then
    echo "Qt Designer or xvfb-run is missing (scripts/install-deps installs them)" >&2
    exit 1
fi
work=$(mktemp -d)
log=$work/designer.log
# Its own home and runtime folder: Designer's settings never leak into or out of the test.
HOME=$work XDG_RUNTIME_DIR=$work QT_PLUGIN_PATH=$plugins QT_DEBUG_PLUGINS=1 QT_QPA_PLATFORM=xcb \
    timeout $((startup_seconds + 10)) xvfb-run -a "$designer" >"$log" 2>&1 &
runner=$!
loaded=no
for _ in $(seq $((startup_seconds * 10))); do
    if grep -q 'libmervgauge-designer.so" loaded library' "$log"; then
        loaded=yes
        break
    fi
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
# Ending the runner ends the virtual display and Designer with it.
kill -TERM "$runner" 2>/dev/null
wait "$runner" 2>/dev/null
if [ "$loaded" != yes ] || grep -qi 'cannot load.*mervgauge' "$log"; then
    echo "Qt Designer did not load the gauge's plugin; its output:" >&2
    grep -i -A3 'mervgauge' "$log" >&2 || tail -20 "$log" >&2
    rm -rf "$work"
    exit 1
fi
echo "Qt Designer loaded $plugins/designer/libmervgauge-designer.so"
rm -rf "$work"
