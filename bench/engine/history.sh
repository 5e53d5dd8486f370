#!/usr/bin/env bash
# What keeping history costs: a run that replaces 10 files of N (a folder
# copy, an LZH and a ZIP of the same tree), with HistoryDays=30 beside the
# same run with history off, interleaved round by round, each into its own
# backup of the same source. Prints min and median per run and the ratio of
# the medians.
# Usage: bench/engine/history.sh [BUILD_DIR] [SIZES] [ROUNDS]
#   defaults: build/release "5000 20000" 5; the work folder is on /dev/shm
#   when it exists (KIBAKO_BENCH_TMP overrides).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/release}")
sizes=${2:-5000 20000}
rounds=${3:-5}
tetoru=$build/src/tetoru/tetoru
base=${KIBAKO_BENCH_TMP:-$([[ -d /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")}
work=$(mktemp -d "$base/kibako-history.XXXXXX")
trap 'rm -rf "$work"' EXIT

seconds() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
stats() {  # stats NAME TIMES...
    local name=$1; shift
    printf '  %-26s min %7.3f  median %7.3f\n' "$name" \
        "$(printf '%s\n' "$@" | sort -g | head -1)" "$(median "$@")"
}

make_tree() {  # make_tree ROOT N: N files of 1,000 bytes in folders of 100
    python3 - "$1" "$2" <<'PY'
import os, random, sys
root, n = sys.argv[1], int(sys.argv[2])
random.seed(1)
for i in range(n):
    folder = os.path.join(root, f"d{i // 100:04}")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, f"f{i:05}.txt")
    with open(path, "wb") as out:
        out.write(bytes(random.getrandbits(8) for _ in range(200)) * 5)
    os.utime(path, (1e9, 1e9))
PY
}

change_ten() {  # change_ten ROOT ROUND: ten files get new contents and times
    python3 - "$1" "$2" <<'PY'
import os, sys, time
root, r = sys.argv[1], int(sys.argv[2])
for k in range(10):
    path = os.path.join(root, f"d{k:04}", f"f{k * 100:05}.txt")
    with open(path, "wb") as out:
        out.write((f"round {r} " * 100).encode())
    t = time.time() - 3600 + r * 10
    os.utime(path, (t, t))
PY
}

write_def() {  # write_def FILE DESTINATION: one registration of C:\src with sub-folders
    python3 - "$1" "$2" <<'PY'
import sys
path, destination = sys.argv[1], sys.argv[2]
body = "\x08C:\\src\x02%s\x03%s\x041000000\x05\x06" % (destination, " " * 16) + "\x00"
open(path, "wb").write(("%08X" % len(body) + "0" * 24 + body).encode("cp932"))
PY
}

setup_home() {  # setup_home HOME DAYS
    mkdir -p "$1"
    printf '[Drives]\r\nC=fixed|%s|WORK\r\n[Options]\r\nNewFileOnly=0\r\nHistoryDays=%s\r\n' \
        "$work" "$2" >"$1/Kibako.INI"
}
run() {  # run HOME DEF
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KIBAKO_HOME="$1" "$tetoru" "$2"
}

for n in $sizes; do
    rm -rf "${work:?}"/*
    make_tree "$work/src" "$n"
    setup_home "$work/off" 0
    setup_home "$work/on" 30
    for kind in folder LZH ZIP; do
        for mode in off on; do
            case $kind in
                folder) destination="C:\\$mode-folder" ;;
                *) destination="C:\\$mode.$kind" ;;
            esac
            write_def "$work/$mode/$kind.Def" "$destination"
            run "$work/$mode" "$work/$mode/$kind.Def" >/dev/null 2>&1  # the first backup
        done
    done
    echo "== $n files, 10 of them replaced per run (seconds)"
    for kind in folder LZH ZIP; do
        off_t=() on_t=()
        for r in $(seq "$rounds"); do
            change_ten "$work/src" "$r"
            # Alternating which goes first, so that neither always meets a warm cache.
            if ((r % 2)); then
                off_t+=("$(seconds run "$work/off" "$work/off/$kind.Def")")
                on_t+=("$(seconds run "$work/on" "$work/on/$kind.Def")")
            else
                on_t+=("$(seconds run "$work/on" "$work/on/$kind.Def")")
                off_t+=("$(seconds run "$work/off" "$work/off/$kind.Def")")
            fi
        done
        stats "$kind, history off" "${off_t[@]}"
        stats "$kind, history on" "${on_t[@]}"
        printf '  %-26s %.3f\n' "$kind on / off (medians)" \
            "$(echo "$(median "${on_t[@]}") / $(median "${off_t[@]}")" | bc -l)"
    done
    kept=$(find "$work/on-folder/.kibako-history" -type f | wc -l)
    archives=$(find "$work/.kibako-history" -type f | wc -l)
    echo "  history kept: $kept files of the folder copy, $archives history archives"
done
