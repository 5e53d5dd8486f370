#!/usr/bin/env bash
# Backup speed beside cp -a, rsync -a and find -newer, on one generated tree:
# 20,000 files of 1 to 16 KiB in 200 folders plus four 50 MB files.
# Usage: bench/engine/run.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/release}")
tetoru=$build/src/tetoru/tetoru
changed=$build/bench/engine/folder_changed_bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "generating the tree in $work/src"
python3 - "$work/src" <<'PY'
import os, random, sys
root = sys.argv[1]
random.seed(7)
for d in range(200):
    folder = os.path.join(root, f"dir{d:03}")
    os.makedirs(folder)
    for f in range(100):
        with open(os.path.join(folder, f"file{f:03}.txt"), "wb") as out:
            out.write(os.urandom(random.randint(1024, 16384)))
big = os.path.join(root, "big")
os.makedirs(big)
for i in range(4):
    with open(os.path.join(big, f"big{i}.bin"), "wb") as out:
        out.write(os.urandom(50 * 1024 * 1024))
PY
sync

seconds() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N); echo "$end - $start" | bc; }

# Kibako's program folder: C: is the work folder, the tree is registered with sub-folders.
home=$work/home
mkdir -p "$home"
printf '[Drives]\r\nC=fixed|%s|WORK\r\n[Options]\r\nNewFileOnly=0\r\n' "$work" > "$home/Kibako.INI"
python3 - "$home/Kibako.Def" <<'PY'
import sys
body = "\x08C:\\src\x02C:\\kibako-dst\x03" + " " * 16 + "\x0410000000\x05\x06\x00"
open(sys.argv[1], "wb").write(("%08X" % len(body) + "0" * 24 + body).encode("cp932"))
PY
run_tetoru() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KIBAKO_HOME="$home" "$tetoru"; }

echo "first backup (empty destination), seconds:"
echo "  cp -a          $(seconds cp -a "$work/src" "$work/cp-dst")"
echo "  rsync -a       $(seconds rsync -a "$work/src/" "$work/rsync-dst/")"
echo "  RunBackupAll   $(seconds run_tetoru)"

echo "second backup (nothing changed), seconds:"
echo "  rsync -a           $(seconds rsync -a "$work/src/" "$work/rsync-dst/")"
echo "  RunBackupAll       $(seconds run_tetoru)"
sed -i 's/NewFileOnly=0/NewFileOnly=-1/' "$home/Kibako.INI"
echo "  RunBackupUpdated   $(seconds run_tetoru)"

echo "change test over the whole tree (nothing newer, so every file is looked at), seconds:"
touch -d '2100-01-01' "$work/stamp"
echo "  find -newer         $(seconds find "$work/src" -newer "$work/stamp")"
echo "  FolderChangedSince  $("$changed" "$work/src" "2100/01/01 00:00" 3)"

# Many new destination folders in one folder: a cost that grows with their
# number would show here first.
python3 - "$work/many" <<'PY'
import os, sys
for i in range(5000):
    folder = os.path.join(sys.argv[1], f"d{i:05}")
    os.makedirs(folder)
    with open(os.path.join(folder, "f.txt"), "wb") as out:
        out.write(b"x" * 100)
PY
python3 - "$home/Kibako.Def" <<'PY'
import sys
body = "\x08C:\\many\x02C:\\kibako-many\x03" + " " * 16 + "\x0410000000\x05\x06\x00"
open(sys.argv[1], "wb").write(("%08X" % len(body) + "0" * 24 + body).encode("cp932"))
PY
sed -i 's/NewFileOnly=-1/NewFileOnly=0/' "$home/Kibako.INI"
echo "first backup of one registration with 5,000 sub-folders, seconds:"
echo "  cp -a          $(seconds cp -a "$work/many" "$work/cp-many")"
echo "  rsync -a       $(seconds rsync -a "$work/many/" "$work/rsync-many/")"
echo "  RunBackupAll   $(seconds run_tetoru)"
