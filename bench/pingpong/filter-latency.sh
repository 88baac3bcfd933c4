#!/usr/bin/env bash
# The per-frame cost of the camera's filter handoff beside the bare event round trip, in one run:
# kivocap at 320x240 RGB24, 30 fps, 300 frames through a filter window that only completes each
# frame, then pingpong with 300 round trips, bare and relayed through a window as the filter is; repeated, medians printed. Needs the Wine prefix and
# display of a build tree, e.g.:
#   KIVO_BUILD_DIR=$PWD/build-vcam ./kivo shot /tmp/unused.png --run \
#       'bench/pingpong/filter-latency.sh build-vcam/win 5'
set -euo pipefail
WIN=${1:?give the build tree, e.g. build/win}
REPEATS=${2:-5}
WINE=/usr/lib/wine/wine64
STAGE_WIN="Z:$(cd "$WIN/stage" && pwd | tr / '\\')"
export KIVO_VCAM_NAMESPACE=bench$$
results=()
for i in $(seq "$REPEATS"); do
    "$WINE" "$WIN/tests/vcam_filter.exe" --stage "$STAGE_WIN" --mode complete --lifetime 60 >/dev/null 2>&1 &
    filter=$!
    sleep 3   # the filter's task is open before the capture starts
    cap=$("$WINE" "$WIN/stage/kivocap.exe" --size 320x240 --format rgb24 --fps 30 --frames 300)
    wait "$filter" || true
    ping=$("$WINE" "$WIN/bench/pingpong.exe" --rounds 300)
    relay=$("$WINE" "$WIN/bench/pingpong.exe" --rounds 300 --via-window)
    echo "run $i: $(echo "$cap" | tr '\n' ' ')| $ping | via window: $relay"
    results+=("$(echo "$cap" | awk '/^frames/ {pt=$6} /^latency/ {print $3, $5, pt}') $(echo "$ping" | awk '{print $4, $6}') $(echo "$relay" | awk '{print $4, $6}')")
done
printf '%s\n' "${results[@]}" | python3 -c '
import statistics, sys
rows = [list(map(float, line.split())) for line in sys.stdin if line.strip()]
med = [statistics.median(col) for col in zip(*rows)]
print("median handoff p50 %.1f us, p99 %.1f us, passed-through %d of 300" % (med[0], med[1], med[2]))
print("median ping-pong p50 %.1f us, p99 %.1f us" % (med[3], med[4]))
print("median ping-pong via a window p50 %.1f us, p99 %.1f us" % (med[5], med[6]))
print("handoff / ping-pong: p50 %.2f, p99 %.2f" % (med[0] / med[3], med[1] / med[4]))
print("handoff / ping-pong via a window: p50 %.2f, p99 %.2f" % (med[0] / med[5], med[1] / med[6]))'
"$WINE" "$WIN/stage/kivocam.exe" reset >/dev/null   # leaves the bench device in its factory state
