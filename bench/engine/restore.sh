#!/usr/bin/env bash
# Restore and verify speed beside their peers, in one run, at two sizes:
#   restore of a folder copy vs cp -a, of an LZH vs bsdtar -xf, of a ZIP vs unzip -q,
#   tetoru --verify vs rsync -an --delete, tetoru --verify --content vs diff -r.
# Trees of N files of 1 to 16 KiB (random bytes) in folders of 100.
# Each pair is timed ROUNDS times (default 3), interleaved, the peer first in
# every other round; the medians and their ratio are printed.
# Usage: [ROUNDS=n] bench/engine/restore.sh [BUILD_DIR] [SIZES...]
#   (default build/release 2000 20000)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/release}")
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(2000 20000)
tetoru=$build/src/tetoru/tetoru
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rounds=${ROUNDS:-3}
seconds() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; end=$(date +%s.%N); echo "$end - $start" | bc; }
ratio() { echo "scale=2; $1 / $2" | bc; }
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# pair OURS PEER: each a command string (run with eval, its output folder
# removed after it); sets k and p to the medians over the rounds.
pair() {
    local ours=() peers=() round
    for ((round = 0; round < rounds; round++)); do
        if ((round % 2 == 0)); then
            ours+=("$(seconds eval "$1")"); rm -rf "$work"/out-*
            peers+=("$(seconds eval "$2")"); rm -rf "$work"/out-*
        else
            peers+=("$(seconds eval "$2")"); rm -rf "$work"/out-*
            ours+=("$(seconds eval "$1")"); rm -rf "$work"/out-*
        fi
    done
    k=$(median "${ours[@]}")
    p=$(median "${peers[@]}")
}

home=$work/home
mkdir -p "$home"
printf '[Drives]\r\nC=fixed|%s|WORK\r\n[Options]\r\nNewFileOnly=0\r\n' "$work" > "$home/Kibako.INI"
register() {  # DESTINATION: the tree C:\src registered with its sub-folders
    python3 - "$home/Kibako.Def" "$1" <<'PY'
import sys
body = "\x08C:\\src\x02" + sys.argv[2] + "\x03" + " " * 16 + "\x0420000000\x05\x06\x00"
open(sys.argv[1], "wb").write(("%08X" % len(body) + "0" * 24 + body).encode("cp932"))
PY
}
run_tetoru() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KIBAKO_HOME="$home" "$tetoru" "$@"; }

printf '%-8s %-34s %9s %9s %7s\n' files operation kibako peer ratio
for n in "${sizes[@]}"; do
    rm -rf "$work/src" "$work/bak" "$work/arc.lzh" "$work/arc.zip" "$work"/out-*
    python3 bench/engine/make_tree.py "$work/src" "$n"
    for destination in 'C:\bak' 'C:\arc.lzh' 'C:\arc.zip'; do
        register "$destination"
        run_tetoru >/dev/null
    done
    sync
    row() { printf '%-8s %-34s %9s %9s %7s\n' "$n" "$1" "$2" "$3" "$(ratio "$2" "$3")"; }

    register 'C:\bak'
    pair 'run_tetoru --restore "C:\src" --to "$work/out-k"' 'cp -a "$work/bak" "$work/out-p"'
    row "restore folder copy / cp -a" "$k" "$p"
    register 'C:\arc.lzh'
    pair 'run_tetoru --restore "C:\src" --to "$work/out-k"' \
        'mkdir -p "$work/out-p" && bsdtar -xf "$work/arc.lzh" -C "$work/out-p"'
    row "restore LZH / bsdtar -xf" "$k" "$p"
    register 'C:\arc.zip'
    pair 'run_tetoru --restore "C:\src" --to "$work/out-k"' 'unzip -q "$work/arc.zip" -d "$work/out-p"'
    row "restore ZIP / unzip -q" "$k" "$p"
    register 'C:\bak'
    pair 'run_tetoru --verify' 'rsync -an --delete "$work/src/" "$work/bak/"'
    row "--verify / rsync -an --delete" "$k" "$p"
    pair 'run_tetoru --verify --content' 'diff -r "$work/src" "$work/bak"'
    row "--verify --content / diff -r" "$k" "$p"
    rm -rf "$work"/out-*
done
