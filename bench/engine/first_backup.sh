#!/usr/bin/env bash
# The first backup of one registration (an empty destination) beside cp -a of
# the same tree, at two sizes: N files of 1 to 16 KiB (random bytes) in
# folders of 100, and one file of 50 MB per 5,000 of them (20,000 files make
# about 400 MB, the tree of run.sh). Timed ROUNDS times (default 3),
# interleaved, cp -a first in every other round; prints the medians and
# their ratio.
# Usage: [ROUNDS=n] bench/engine/first_backup.sh [BUILD_DIR] [SIZES...]
#   (default build/release 2000 20000)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/release}")
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(2000 20000)
rounds=${ROUNDS:-3}
tetoru=$build/src/tetoru/tetoru
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seconds() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; end=$(date +%s.%N); echo "$end - $start" | bc; }
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

home=$work/home
mkdir -p "$home"
printf '[Drives]\r\nC=fixed|%s|WORK\r\n[Options]\r\nNewFileOnly=0\r\n' "$work" > "$home/Kibako.INI"
python3 - "$home/Kibako.Def" <<'PY'
import sys
body = "\x08C:\\src\x02C:\\dst\x03" + " " * 16 + "\x0420000000\x05\x06\x00"
open(sys.argv[1], "wb").write(("%08X" % len(body) + "0" * 24 + body).encode("cp932"))
PY
run_tetoru() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KIBAKO_HOME="$home" "$tetoru"; }
ours() { rm -rf "$work/dst"; sync; seconds run_tetoru; }
peer() { rm -rf "$work/cp-dst"; sync; seconds cp -a "$work/src" "$work/cp-dst"; }

printf '%-8s %-34s %9s %9s %7s\n' files operation kibako peer ratio
for n in "${sizes[@]}"; do
    rm -rf "$work/src" "$work/dst" "$work/cp-dst"
    python3 bench/engine/make_tree.py "$work/src" "$n" --big
    sync
    k=() p=()
    for ((round = 0; round < rounds; round++)); do
        if ((round % 2 == 0)); then
            k+=("$(ours)"); p+=("$(peer)")
        else
            p+=("$(peer)"); k+=("$(ours)")
        fi
    done
    km=$(median "${k[@]}") pm=$(median "${p[@]}")
    printf '%-8s %-34s %9s %9s %7s\n' "$n" "first backup / cp -a" "$km" "$pm" \
        "$(echo "scale=2; $km / $pm" | bc)"
done
