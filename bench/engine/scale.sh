#!/usr/bin/env bash
# Backup speed at scale beside cp -a and rsync -a, interleaved round by round:
#   folders  one registration over N sub-folders of one folder (first backup)
#   regs     N registrations of one small folder each (first backup, then
#            nothing changed: all entries and updated only)
# Each folder holds one file of 100 bytes. Prints min and median per command,
# the peak memory of each program (which, unlike the times, does not move with
# the load of the machine), and with strace installed the system calls per
# registration of each run.
# Usage: bench/engine/scale.sh [BUILD_DIR] [SIZES] [ROUNDS]
#   defaults: build/release "5000 20000" 3; the work folder is on /dev/shm
#   when it exists (KIBAKO_BENCH_TMP overrides).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/release}")
sizes=${2:-5000 20000}
rounds=${3:-3}
tetoru=$build/src/tetoru/tetoru
base=${KIBAKO_BENCH_TMP:-$([[ -d /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")}
work=$(mktemp -d "$base/kibako-scale.XXXXXX")
trap 'rm -rf "$work"' EXIT

seconds() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
stats() {  # stats NAME TIMES...: min and median
    local name=$1; shift
    printf '  %-28s min %7.3f  median %7.3f\n' "$name" \
        "$(printf '%s\n' "$@" | sort -g | head -1)" \
        "$(printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')"
}

make_tree() {  # make_tree ROOT N: N folders of one file
    python3 - "$1" "$2" <<'PY'
import os, sys
root, n = sys.argv[1], int(sys.argv[2])
for i in range(n):
    folder = os.path.join(root, f"d{i:05}")
    os.makedirs(folder)
    with open(os.path.join(folder, "f.txt"), "wb") as out:
        out.write(b"x" * 100)
    # Older than any backup time, which counts in whole minutes.
    os.utime(os.path.join(folder, "f.txt"), (1e9, 1e9))
    os.utime(folder, (1e9, 1e9))
os.utime(root, (1e9, 1e9))
PY
}

write_def() {  # write_def FILE MODE SOURCE... : one registration per source into C:\dst
    python3 - "$@" <<'PY'
import sys
path, mode, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
body = "".join("\x08C:\\%s\x02C:\\dst\\%s\x03%s\x04%s0000000\x05\x06" %
               (s, s.split("\\")[-1], " " * 16, mode) for s in sorted(sources)) + "\x00"
open(path, "wb").write(("%08X" % len(body) + "0" * 24 + body).encode("cp932"))
PY
}

setup_home() {  # setup_home HOME NEWFILEONLY
    mkdir -p "$1"
    printf '[Drives]\r\nC=fixed|%s|WORK\r\n[Options]\r\nNewFileOnly=%s\r\n' "$work" "$2" \
        >"$1/Kibako.INI"
}
run_tetoru() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KIBAKO_HOME="$1" "$tetoru"; }
peak_mib() {  # peak_mib COMMAND...: the peak resident memory of one run, in MiB
    /usr/bin/time -f %M -o "$work/peak.txt" "$@" >/dev/null 2>&1 || true
    awk '{ printf "%.1f", $1 / 1024 }' "$work/peak.txt"
}
peak_line() {  # peak_line HOME: rsync and tetoru, a first backup and then nothing changed
    local tetoru_run=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KIBAKO_HOME="$1" "$tetoru")
    echo "  peak MiB, first backup: rsync -a $(peak_mib rsync -a "$work/src/" "$work/rs/")," \
        "tetoru $(peak_mib "${tetoru_run[@]}");" \
        "nothing changed: rsync -a $(peak_mib rsync -a "$work/src/" "$work/rs/")," \
        "tetoru $(peak_mib "${tetoru_run[@]}")"
}
# System calls of one tetoru run divided by N (needs strace); unlike the times
# these do not move with the load of the machine.
calls_per() {  # calls_per N HOME
    local n=$1 home=$2 log=$work/strace.txt
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KIBAKO_HOME="$home" \
        strace -f -c -o "$log" "$tetoru" >/dev/null 2>&1
    awk -v n="$n" '$NF == "total" { printf "%.1f", $(NF-2) / n }' "$log"
}

for n in $sizes; do
    rm -rf "$work"/*
    make_tree "$work/src" "$n"
    home=$work/home
    setup_home "$home" 0

    echo "== $n sub-folders of one registration, first backup (seconds)"
    write_def "$home/Kibako.Def" 1 src
    cp "$home/Kibako.Def" "$work/one.Def"
    cp_t=() rs_t=() te_t=()
    for _ in $(seq "$rounds"); do
        rm -rf "$work/cp" "$work/rs" "$work/dst"; mkdir -p "$work/dst"
        cp_t+=("$(seconds cp -a "$work/src" "$work/cp")")
        rs_t+=("$(seconds rsync -a "$work/src/" "$work/rs/")")
        cp "$work/one.Def" "$home/Kibako.Def"
        te_t+=("$(seconds run_tetoru "$home")")
    done
    [[ $(find "$work/dst" -name f.txt | wc -l) -eq $n ]] || echo "  !! tetoru copied too little"
    stats "cp -a" "${cp_t[@]}"; stats "rsync -a" "${rs_t[@]}"; stats "tetoru" "${te_t[@]}"
    rm -rf "$work/rs" "$work/dst"; mkdir -p "$work/dst"
    cp "$work/one.Def" "$home/Kibako.Def"
    peak_line "$home"

    echo "== $n registrations of one folder each (seconds)"
    sources=()
    for ((i = 0; i < n; i++)); do sources+=("src\\$(printf 'd%05d' "$i")"); done
    write_def "$work/many.Def" 0 "${sources[@]}"
    cp_t=() rs_t=() te_t=() all_t=() upd_t=() rs2_t=()
    for _ in $(seq "$rounds"); do
        rm -rf "$work/cp" "$work/rs" "$work/dst"; mkdir -p "$work/dst"
        cp_t+=("$(seconds cp -a "$work/src" "$work/cp")")
        rs_t+=("$(seconds rsync -a "$work/src/" "$work/rs/")")
        cp "$work/many.Def" "$home/Kibako.Def"
        sed -i 's/NewFileOnly=.*\r/NewFileOnly=0\r/' "$home/Kibako.INI"
        te_t+=("$(seconds run_tetoru "$home")")
        rs2_t+=("$(seconds rsync -a "$work/src/" "$work/rs/")")
        all_t+=("$(seconds run_tetoru "$home")")
        sed -i 's/NewFileOnly=.*\r/NewFileOnly=-1\r/' "$home/Kibako.INI"
        upd_t+=("$(seconds run_tetoru "$home")")
    done
    [[ $(find "$work/dst" -name f.txt | wc -l) -eq $n ]] || echo "  !! tetoru copied too little"
    echo " first backup:"
    stats "cp -a" "${cp_t[@]}"; stats "rsync -a" "${rs_t[@]}"; stats "tetoru" "${te_t[@]}"
    echo " nothing changed:"
    stats "rsync -a" "${rs2_t[@]}"; stats "tetoru, all entries" "${all_t[@]}"
    stats "tetoru, updated only" "${upd_t[@]}"
    rm -rf "$work/rs" "$work/dst"; mkdir -p "$work/dst"
    cp "$work/many.Def" "$home/Kibako.Def"
    sed -i 's/NewFileOnly=.*\r/NewFileOnly=0\r/' "$home/Kibako.INI"
    peak_line "$home"
    if command -v strace >/dev/null; then
        rm -rf "$work/dst"; mkdir -p "$work/dst"
        cp "$work/many.Def" "$home/Kibako.Def"
        sed -i 's/NewFileOnly=.*\r/NewFileOnly=0\r/' "$home/Kibako.INI"
        first=$(calls_per "$n" "$home"); all=$(calls_per "$n" "$home")
        sed -i 's/NewFileOnly=.*\r/NewFileOnly=-1\r/' "$home/Kibako.INI"
        echo " system calls per registration: first backup $first, all entries $all," \
            "updated only $(calls_per "$n" "$home")"
    fi
done
