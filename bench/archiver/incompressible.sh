#!/usr/bin/env bash
# LZH writer beside zip -6 on input that does not compress, interleaved round
# by round: four 5 MB random files, and 2,000 random files of 1 to 16 KiB.
# Usage: bench/archiver/incompressible.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/release}")
rounds=${2:-3}
cli=$build/bench/archiver/kibako_archiver_cli
base=${KIBAKO_BENCH_TMP:-$([[ -d /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")}
work=$(mktemp -d "$base/kibako-lzh.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

python3 - "$work" <<'PY'
import os, random, sys
root = sys.argv[1]
random.seed(3)
os.makedirs(f"{root}/large")
for i in range(4):
    open(f"{root}/large/{i}.bin", "wb").write(os.urandom(5 << 20))
for d in range(20):
    os.makedirs(f"{root}/small/{d:02}")
    for f in range(100):
        open(f"{root}/small/{d:02}/{f:03}.bin", "wb").write(os.urandom(random.randint(1024, 16384)))
PY

seconds() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
stats() {
    local name=$1; shift
    printf '  %-22s min %6.3f  median %6.3f\n' "$name" \
        "$(printf '%s\n' "$@" | sort -g | head -1)" \
        "$(printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')"
}
for set in large small; do
    ours=() zip=()
    for _ in $(seq "$rounds"); do
        rm -f "$work/$set.lzh" "$work/$set.zip"
        ours+=("$(seconds "$cli" unlha "u -r2x1a2 \"$work/$set.lzh\" \"$work/$set\\\"")")
        zip+=("$(seconds sh -c "cd '$work/$set' && zip -6 -qr '$work/$set.zip' .")")
    done
    echo "$set ($(du -sm "$work/$set" | cut -f1) MB), seconds:"
    stats "ours -lh5-/-lh0-" "${ours[@]}"
    stats "zip -6" "${zip[@]}"
    "$cli" unlha "t \"$work/$set.lzh\"" | tail -1
done
