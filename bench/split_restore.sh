#!/usr/bin/env bash
# Times splitting a 1 GiB file into 100 MiB pieces and restoring it with dividora-cli, against
# `split -b 100M` followed by `cat`, and against `cp` of the same file, all on this machine in
# one run; prints the medians, the ratios (ours / theirs) and our peak memory.
#   bench/split_restore.sh [RUNS] [WORKDIR]
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${1:-7}
# Memory-backed by default, so the disk's own writeback and discards do not blur the figures.
if [ -z "${2:-}" ] && [ -d /dev/shm ] && [ "$(df -k --output=avail /dev/shm | tail -n 1)" -gt $((5 * 1024 * 1024)) ]; then
    WORK=/dev/shm/dividora-bench
else
    WORK=${2:-${TMPDIR:-/tmp}/dividora-bench}
fi
BUILD_DIR=${DIVIDORA_BUILD_DIR:-build}
CLI="$BUILD_DIR/src/cli/dividora-cli"

./dev cli --help >/dev/null
mkdir -p "$WORK"
SOURCE="$WORK/source.bin"
if [ ! -f "$SOURCE" ] || [ "$(stat -c %s "$SOURCE")" -ne 1073741824 ]; then
    head -c 1073741824 /dev/urandom >"$SOURCE"
fi
cat "$SOURCE" >/dev/null  # in the page cache, as the measurement says

now() { date +%s.%N; }
calc() { awk "BEGIN { print $1 }"; }
# Runs a command, flushes what it wrote (not timed), prints its wall time in seconds.
timed() {
    local start end
    start=$(now)
    "$@" >/dev/null
    end=$(now)
    sync
    sleep 1  # let the disk finish before the next measurement
    calc "$end - $start"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
fresh() {
    rm -rf "$WORK/out"
    mkdir -p "$WORK/out/pieces" "$WORK/out/restored"
    sync
    sleep 1
}

ours_split=() ours_restore=() theirs_split=() theirs_cat=() copies=()
for run in $(seq "$RUNS"); do
    fresh
    ours_split+=("$(timed "$CLI" split "$SOURCE" -o "$WORK/out/pieces" -n piece --size 100MB)")
    ours_restore+=("$(timed "$CLI" restore "$WORK"/out/pieces/*.KPX -o "$WORK/out/restored")")
    cmp -s "$SOURCE" "$WORK/out/restored/source.bin" || { echo "restored file differs" >&2; exit 1; }
    fresh
    theirs_split+=("$(timed split -b 100M "$SOURCE" "$WORK/out/pieces/part.")")
    theirs_cat+=("$(timed sh -c "cat '$WORK'/out/pieces/part.* > '$WORK/out/restored/source.bin'")")
    fresh
    copies+=("$(timed cp "$SOURCE" "$WORK/out/restored/copy.bin")")
    echo "run $run of $RUNS done" >&2
done

m() { printf '%s\n' "$@" | median; }
split_m=$(m "${ours_split[@]}"); restore_m=$(m "${ours_restore[@]}")
tsplit_m=$(m "${theirs_split[@]}"); tcat_m=$(m "${theirs_cat[@]}"); cp_m=$(m "${copies[@]}")
ours=$(calc "$split_m + $restore_m")
theirs=$(calc "$tsplit_m + $tcat_m")

# Peak resident size with 8 MiB blocks.
fresh
peak_split=$(/usr/bin/time -f %M "$CLI" split "$SOURCE" -o "$WORK/out/pieces" -n piece --size 100MB \
    --block 8MB 2>&1 >/dev/null | tail -n 1)
peak_restore=$(/usr/bin/time -f %M "$CLI" restore "$WORK"/out/pieces/*.KPX -o "$WORK/out/restored" \
    --block 8MB 2>&1 >/dev/null | tail -n 1)
rm -rf "$WORK/out"

printf 'machine: %s, %s cores, %s\n' "$(uname -r)" "$(nproc)" "$(stat -f -c %T "$WORK")"
printf 'medians of %s runs (seconds):\n' "$RUNS"
printf '  dividora split   %.3f   split -b 100M  %.3f\n' "$split_m" "$tsplit_m"
printf '  dividora restore %.3f   cat            %.3f\n' "$restore_m" "$tcat_m"
printf '  cp               %.3f\n' "$cp_m"
printf 'ratios (ours / theirs):\n'
printf '  split + restore / split + cat  %.2f\n' "$(calc "$ours / $theirs")"
printf '  split / cp                     %.2f\n' "$(calc "$split_m / $cp_m")"
printf '  restore / cp                   %.2f\n' "$(calc "$restore_m / $cp_m")"
printf 'peak resident size with 8 MiB blocks: split %s KiB, restore %s KiB\n' \
    "$peak_split" "$peak_restore"
