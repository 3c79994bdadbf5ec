#!/usr/bin/env bash
# Times dividora-cli's split (100 MiB pieces) and restore of a 1 GiB file against `split -b 100M`,
# `cat` of the same pieces and `cp` of the file, all on this machine in one run, in paired rounds
# (every command once per round, so drift of the machine hits all alike); prints the medians and
# the ratios (ours / theirs).
#   warm     page cache warm, in a memory-backed folder when there is room (WARM_DIR)
#   cold     caches dropped before each command, source and output on one disk (COLD_DIR)
#   checksum each of ours with the checksum file (the default) and without (--no-checksum on the
#            split; no .xxh128 beside the pieces for the restore)
# then peak resident size with 8 MiB blocks, verify against `xxhsum -H2 -c` on the same pieces,
# and a 3 GiB file against the 1 GiB one (on the disk, cold).
#   bench/split_restore.sh [RUNS]        (9 by default)
# Environment: DIVIDORA_BUILD_DIR (build), DIVIDORA_CLI (a tool to time instead of the build's),
# BLOCK (a --block for every timed run of ours; the tool's default otherwise), WARM_DIR, COLD_DIR
# (TMPDIR or /tmp), BIG_RUNS (3; 0 leaves the 3 GiB file out), COLD=0 leaves the cold cases out.
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${1:-9}
BIG_RUNS=${BIG_RUNS:-3}
GIB=1073741824
BUILD_DIR=${DIVIDORA_BUILD_DIR:-build}
if [ -z "${DIVIDORA_CLI:-}" ]; then
    ./dev cli --help >/dev/null
    CLI=$BUILD_DIR/src/cli/dividora-cli
else
    CLI=$DIVIDORA_CLI
fi
CLI=$(realpath "$CLI")
BLOCK_OPTION=()
[ -n "${BLOCK:-}" ] && BLOCK_OPTION=(--block "$BLOCK")
ours() {  # ours COMMAND ARGS...: the tool, with BLOCK when set
    "$CLI" "$1" "${BLOCK_OPTION[@]}" "${@:2}"
}

room_kib() { df -k --output=avail "$1" | tail -n 1; }
# Memory-backed by default, so the disk's own writeback does not blur the page-cache figures.
if [ -z "${WARM_DIR:-}" ]; then
    if [ -d /dev/shm ] && [ "$(room_kib /dev/shm)" -gt $((12 * 1024 * 1024)) ]; then
        WARM_DIR=/dev/shm/dividora-bench
    else
        WARM_DIR=${TMPDIR:-/tmp}/dividora-bench
    fi
fi
COLD_DIR=${COLD_DIR:-${TMPDIR:-/tmp}/dividora-bench-cold}
command -v xxhsum >/dev/null || { echo "xxhsum missing: apt-get install xxhash" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing: apt-get install time" >&2; exit 2; }

now() { date +%s.%N; }
calc() { awk "BEGIN { print $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
spread() { sort -g | awk '{ v[NR] = $1 } END { printf "%.3f-%.3f", v[1], v[NR] }'; }

# Dropping caches: the whole page cache as root, else each file's pages (fadvise DONTNEED via
# dd's nocache flag), which is what an unprivileged run can do.
if [ -w /proc/sys/vm/drop_caches ]; then
    DROP_HOW="whole page cache dropped (drop_caches)"
    drop() {
        sync
        echo 3 >/proc/sys/vm/drop_caches
    }
else
    DROP_HOW="each file's pages dropped (fadvise DONTNEED through dd iflag=nocache)"
    drop() {
        sync
        find "$@" -type f -exec dd if={} iflag=nocache count=0 status=none \;
    }
fi

declare -A TIMES
# record KEY SECONDS
record() { TIMES[$1]="${TIMES[$1]:-} $2"; }
med() { printf '%s\n' ${TIMES[$1]} | median; }
# timed KEY COMMAND...: wall time of the command alone, then its writes are flushed (not timed).
timed() {
    local key=$1 start end
    shift
    start=$(now)
    "$@" >/dev/null
    end=$(now)
    record "$key" "$(calc "$end - $start")"
}
# timed_flush KEY DIR COMMAND...: as timed, and KEY+sync is the time until the files in DIR are
# on the disk (fdatasync of each), as ours are when it ends.
timed_flush() {
    local key=$1 dir=$2 start end synced
    shift 2
    start=$(now)
    "$@" >/dev/null
    end=$(now)
    find "$dir" -type f -exec sync -d {} +
    synced=$(now)
    record "$key" "$(calc "$end - $start")"
    record "$key+sync" "$(calc "$synced - $start")"
}

make_source() {  # make_source FILE BYTES
    if [ ! -f "$1" ] || [ "$(stat -c %s "$1")" -ne "$2" ]; then
        head -c "$2" /dev/urandom >"$1"
    fi
}

# One round over DIR: every command once. cold=1 drops the caches before each. Odd and even
# rounds take ours with and without checksums in turn first, so that neither always follows
# the last round's copy.
round() {
    local dir=$1 cold=$2 tag=$3 run=$4 src=$1/source.bin
    local out=$dir/out
    settle() {
        rm -rf "$out"
        mkdir -p "$out/p" "$out/r"
        sync
        if [ "$cold" = 1 ]; then drop "$dir"; else cat "$src" >/dev/null; fi
    }
    ours_pair() {  # ours_pair KEY_SUFFIX [OPTION]
        settle
        timed "$tag split$1" ours split "$src" -o "$out/p" -n piece --size 100MB ${2:+"$2"}
        [ "$cold" = 1 ] && drop "$dir"
        timed "$tag restore$1" ours restore "$out"/p/*.KPX -o "$out/r"
        cmp -s "$src" "$out/r/source.bin" || { echo "restored file differs" >&2; exit 1; }
    }
    if [ $((run % 2)) = 1 ]; then
        ours_pair ""
        ours_pair " nock" --no-checksum
    else
        ours_pair " nock" --no-checksum
        ours_pair ""
    fi
    settle
    timed_flush "$tag split-b" "$out/p" split -b 100M "$src" "$out/p/part."
    [ "$cold" = 1 ] && drop "$dir"
    timed_flush "$tag cat" "$out/r" sh -c "cat '$out'/p/part.* >'$out/r/source.bin'"
    settle
    timed_flush "$tag cp" "$out/r" cp "$src" "$out/r/copy.bin"
}

ratio() { calc "$(med "$1") / $(med "$2")"; }
line() {  # line LABEL KEY_OURS KEY_THEIRS [GOAL]
    printf '  %-34s %6.3f / %6.3f = %.2f%s\n' "$1" "$(med "$2")" "$(med "$3")" "$(ratio "$2" "$3")" \
        "${4:+   (goal $4)}"
}
report_case() {  # report_case TAG
    local t=$1
    printf '  medians, seconds (spread):\n'
    for key in split restore "split nock" "restore nock" split-b cat cp split-b+sync cat+sync cp+sync; do
        [ -n "${TIMES[$t $key]:-}" ] || continue
        printf '    %-16s %6.3f  (%s)\n' "$key" "$(med "$t $key")" \
            "$(printf '%s\n' ${TIMES[$t $key]} | spread)"
    done
}

mkdir -p "$WARM_DIR"
make_source "$WARM_DIR/source.bin" $GIB
printf 'machine: %s cores, kernel %s, %s\n' "$(nproc)" "$(uname -r)" \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
printf 'tool: %s, block: %s\n' "$CLI" "${BLOCK:-default}"
printf 'rounds: %s\n\n' "$RUNS"

# --- Warm page cache ---
for run in $(seq "$RUNS"); do
    round "$WARM_DIR" 0 warm "$run"
    echo "warm round $run of $RUNS done" >&2
done
printf 'WARM page cache, 1 GiB, in %s (%s)\n' "$WARM_DIR" "$(stat -f -c %T "$WARM_DIR")"
report_case warm
printf '  ratios (ours / theirs):\n'
line "split / split -b" "warm split" "warm split-b" "<= 0.70"
line "restore / cat" "warm restore" "warm cat" "<= 0.90"
line "split / cp" "warm split" "warm cp" "<= 1.00"
line "restore / cp" "warm restore" "warm cp" "<= 1.00"
line "split checksum / without" "warm split" "warm split nock" "<= 1.10"
line "restore checksum / without" "warm restore" "warm restore nock" "<= 1.10"
line "split no checksum / cp" "warm split nock" "warm cp"
line "restore no checksum / cp" "warm restore nock" "warm cp"
echo

# --- Cold caches, on one disk ---
if [ "${COLD:-1}" != 0 ]; then
    mkdir -p "$COLD_DIR"
    make_source "$COLD_DIR/source.bin" $GIB
    for run in $(seq "$RUNS"); do
        round "$COLD_DIR" 1 cold "$run"
        echo "cold round $run of $RUNS done" >&2
    done
    printf 'COLD caches, 1 GiB, in %s (%s on %s); %s before each command\n' "$COLD_DIR" \
        "$(stat -f -c %T "$COLD_DIR")" "$(df --output=source "$COLD_DIR" | tail -n 1)" "$DROP_HOW"
    report_case cold
    printf '  ratios (ours / theirs; ours waits until its files are on the disk, +sync is the\n'
    printf '  other command followed by a sync of what it wrote):\n'
    line "split / cp" "cold split" "cold cp" "<= 1.05"
    line "restore / cp" "cold restore" "cold cp" "<= 1.05"
    line "split / cp+sync" "cold split" "cold cp+sync"
    line "restore / cp+sync" "cold restore" "cold cp+sync"
    line "split / split -b+sync" "cold split" "cold split-b+sync"
    line "restore / cat+sync" "cold restore" "cold cat+sync"
    line "split checksum / without" "cold split" "cold split nock" "<= 1.10"
    line "restore checksum / without" "cold restore" "cold restore nock" "<= 1.10"
    echo
    rm -rf "$COLD_DIR/out"
fi

# --- Peak resident size with 8 MiB blocks (checksums on: both buffers in use) ---
out=$WARM_DIR/out
rm -rf "$out" && mkdir -p "$out/p" "$out/r"
peak_split=$(/usr/bin/time -f %M "$CLI" split "$WARM_DIR/source.bin" -o "$out/p" -n piece \
    --size 100MB --block 8MB 2>&1 >/dev/null | tail -n 1)
peak_restore=$(/usr/bin/time -f %M "$CLI" restore "$out"/p/*.KPX -o "$out/r" --block 8MB \
    2>&1 >/dev/null | tail -n 1)
printf 'peak resident size with 8 MiB blocks: split %s KiB, restore %s KiB (goal < 40960)\n\n' \
    "$peak_split" "$peak_restore"

# --- verify against xxhsum -H2 -c on the same pieces ---
# An older tool timed through DIVIDORA_CLI may have no verify.
if "$CLI" verify --help >/dev/null 2>&1; then
    for run in $(seq "$RUNS"); do
        cat "$out"/p/* >/dev/null
        timed "warm verify" ours verify "$out/p"
        timed "warm xxhsum" sh -c "cd '$out/p' && xxhsum -H2 -c piece.xxh128"
    done
    printf 'verify, 1 GiB of pieces, warm page cache:\n'
    line "verify / xxhsum -H2 -c" "warm verify" "warm xxhsum" "<= 1.00"
    if [ "${COLD:-1}" != 0 ]; then
        rm -rf "$COLD_DIR/out" && mkdir -p "$COLD_DIR/out/p"
        "$CLI" split "$COLD_DIR/source.bin" -o "$COLD_DIR/out/p" -n piece --size 100MB >/dev/null
        for run in $(seq "$RUNS"); do
            drop "$COLD_DIR"
            timed "cold verify" ours verify "$COLD_DIR/out/p"
            drop "$COLD_DIR"
            timed "cold xxhsum" sh -c "cd '$COLD_DIR/out/p' && xxhsum -H2 -c piece.xxh128"
        done
        printf 'verify, 1 GiB of pieces, cold:\n'
        line "verify / xxhsum -H2 -c" "cold verify" "cold xxhsum" "<= 1.00"
        rm -rf "$COLD_DIR/out"
    fi
else
    echo "verify: not in this tool (dividora-cli verify --help fails); left out"
fi
echo

# --- A file over 2 GiB against the 1 GiB one, on the disk, cold, checksums on ---
# On the disk: in memory, this machine's own copies of 3 GiB (cp included) vary several-fold
# from run to run once source, pieces and copy hold 9 GiB (a virtual machine's memory).
if [ "$BIG_RUNS" -gt 0 ] && [ "${COLD:-1}" != 0 ]; then
    big_out=$COLD_DIR/out
    make_source "$COLD_DIR/big.bin" $((3 * GIB))
    for run in $(seq "$BIG_RUNS"); do
        for name in source big; do
            file=$COLD_DIR/$name.bin
            rm -rf "$big_out" && mkdir -p "$big_out/p" "$big_out/r"
            drop "$COLD_DIR"
            timed "$name split" ours split "$file" -o "$big_out/p" -n piece --size 100MB
            drop "$COLD_DIR"
            timed "$name restore" ours restore "$big_out"/p/*.KPX -o "$big_out/r"
            cmp -s "$file" "$big_out/r/$name.bin" || { echo "$name.bin differs" >&2; exit 1; }
            rm -rf "$big_out/r" && mkdir -p "$big_out/r"
            drop "$COLD_DIR"
            timed_flush "$name cp" "$big_out/r" cp "$file" "$big_out/r/copy.bin"
        done
    done
    rate() { calc "$2 * 1024 / $(med "$1")"; }
    printf 'over 2 GiB: 1 GiB and 3 GiB in %s, cold, checksums on (%s rounds), MiB/s:\n' \
        "$COLD_DIR" "$BIG_RUNS"
    for step in split restore cp+sync; do
        printf '  %-8s 1 GiB %6.0f   3 GiB %6.0f   (3 GiB / 1 GiB throughput %.2f)\n' "$step" \
            "$(rate "source $step" 1)" "$(rate "big $step" 3)" \
            "$(calc "$(rate "big $step" 3) / $(rate "source $step" 1)")"
    done
    rm -rf "$big_out" "$COLD_DIR/big.bin"
fi
rm -rf "$out"
