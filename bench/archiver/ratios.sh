#!/usr/bin/env bash
# LZH size and speed as ratios to peers run in the same loop, at two sizes: creation against
# jlha -lh5- (size) and zip -6 (size, time), testing against bsdtar -xOf (time). Each set is
# a text tree of many files and a tree of many small members; medians of ROUNDS rounds.
# Usage: bench/archiver/ratios.sh [BUILD_DIR] [ROUNDS] [SMALL_MB] [LARGE_MB]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/release}")
rounds=${2:-3}
small=${3:-10}
large=${4:-40}
cli=$build/bench/archiver/kibako_archiver_cli
base=${KIBAKO_BENCH_TMP:-$([[ -d /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")}
work=$(mktemp -d "$base/kibako-ratios.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

# The text: package change logs, copyright files and headers, in files as they come.
find /usr/share/doc /usr/include -type f \( -name 'changelog*' -o -name 'copyright' \
    -o -name '*.h' \) 2>/dev/null | sort >"$work/list"
make_text() {  # make_text FOLDER MEGABYTES
    local dir=$1 limit=$(($2 << 20)) total=0 n=0 file
    mkdir -p "$dir"
    while IFS= read -r file; do
        n=$((n + 1))
        case $file in *.gz) zcat -- "$file" >"$dir/$n.txt" 2>/dev/null || continue ;;
            *) cp -- "$file" "$dir/$n.txt" ;; esac
        total=$((total + $(stat -c %s "$dir/$n.txt")))
        ((total >= limit)) && break
    done <"$work/list"
    true
}
make_many() {  # make_many FOLDER MEGABYTES: the text cut into members of 1,500 bytes
    mkdir -p "$1"
    cat "$work/text$2"/* | head -c $(($2 << 20)) | (cd "$1" && split -b 1500 -a 5 - m)
}
seconds() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { echo "scale=3; $1 / $2" | bc; }

printf '%-14s %9s %9s %9s %7s %7s %8s %8s %7s %9s\n' set ours_MB jlha_MB zip_MB \
    /jlha /zip make_s zip_s /zip test/bsdtar
for mb in "$small" "$large"; do
    make_text "$work/text$mb" "$mb"
    make_many "$work/many$mb" "$mb"
    for kind in text many; do
        in=$work/$kind$mb
        make=() zip=() test=() bsd=()
        for _ in $(seq "$rounds"); do
            rm -f "$work/o.lzh" "$work/j.lzh" "$work/z.zip"
            make+=("$(seconds "$cli" unlha "u -r2x1a2 \"$work/o.lzh\" \"$in\\\"")")
            zip+=("$(seconds sh -c "cd '$in' && zip -6 -qr '$work/z.zip' .")")
            test+=("$(seconds "$cli" unlha "t \"$work/o.lzh\"")")
            bsd+=("$(seconds sh -c "bsdtar -xOf '$work/o.lzh' >/dev/null")")
        done
        (cd "$in" && jlha c2o5 "$work/j.lzh" -- * >/dev/null 2>&1) || true
        o=$(stat -c %s "$work/o.lzh") j=$(stat -c %s "$work/j.lzh") z=$(stat -c %s "$work/z.zip")
        m=$(median "${make[@]}") zz=$(median "${zip[@]}")
        t=$(median "${test[@]}") b=$(median "${bsd[@]}")
        printf '%-14s %9.2f %9.2f %9.2f %7s %7s %8.2f %8.2f %7s %9s\n' \
            "$kind ${mb}M ($(find "$in" -type f | wc -l))" "$(echo "$o / 1048576" | bc -l)" \
            "$(echo "$j / 1048576" | bc -l)" "$(echo "$z / 1048576" | bc -l)" \
            "$(ratio "$o" "$j")" "$(ratio "$o" "$z")" "$m" "$zz" "$(ratio "$m" "$zz")" \
            "$(ratio "$t" "$b")"
    done
done
