#!/usr/bin/env bash
# LZH writer beside zip -6 on files whose kind of data changes along the file, at two sizes:
# a disk image (1 MiB of random bytes, then zeros), a log with a random tail (text, then
# random bytes) and plain random bytes. One run each; sizes in bytes, times in seconds.
# Usage: bench/archiver/mixed.sh [BUILD_DIR] [SMALL_MB] [LARGE_MB]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/release}")
small=${2:-64}
large=${3:-2048}
cli=$build/bench/archiver/kibako_archiver_cli
base=${KIBAKO_BENCH_TMP:-${TMPDIR:-/tmp}}
work=$(mktemp -d "$base/kibako-mixed.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

make_set() {  # make_set FOLDER MEGABYTES
    local dir=$1 mb=$2
    mkdir -p "$dir"
    head -c $((1 << 20)) /dev/urandom >"$dir/image.bin"
    truncate -s $((mb << 20)) "$dir/image.bin"
    find /usr/share/doc -name 'changelog*' -type f -exec zcat -f {} + 2>/dev/null |
        head -c $((mb << 19)) >"$dir/log.bin" || true
    head -c $((mb << 19)) /dev/urandom >>"$dir/log.bin"
    head -c $((mb << 19)) /dev/urandom >"$dir/random.bin"
}
seconds() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }

printf '%-7s %-10s %12s %12s %8s %12s %8s\n' set file input ours_lzh ours_s zip_-6 zip_s
for size in "$small" "$large"; do
    set_dir=$work/set$size
    make_set "$set_dir" "$size"
    for file in image.bin log.bin random.bin; do
        one=$work/one
        rm -rf "$one" "$work/out.lzh" "$work/out.zip"
        mkdir -p "$one"
        ln "$set_dir/$file" "$one/$file"
        t_ours=$(seconds "$cli" unlha "u \"$work/out.lzh\" \"$one\\\"")
        t_zip=$(seconds sh -c "cd '$one' && zip -6 -q '$work/out.zip' '$file'")
        printf '%-7s %-10s %12d %12d %8.2f %12d %8.2f\n' "${size}M" "$file" \
            "$(stat -c %s "$one/$file")" "$(stat -c %s "$work/out.lzh")" "$t_ours" \
            "$(stat -c %s "$work/out.zip")" "$t_zip"
    done
    rm -rf "$set_dir"
done
