#!/usr/bin/env bash
# Times an update that replaces one member of an archive of many small members, LZH and ZIP,
# for two builds side by side (for example the branch before a change and after it), with
# Info-ZIP's `zip -u` on the same ZIP as a peer.
# Usage: bench/archiver/update_one.sh BEFORE_BUILD AFTER_BUILD [MEMBERS...]
# (default 2000 and 20000 members). Needs hyperfine.
set -euo pipefail
cd "$(dirname "$0")/../.."
before=$(realpath "$1")/bench/archiver/kibako_archiver_cli
after=$(realpath "$2")/bench/archiver/kibako_archiver_cli
shift 2
sizes=("${@:-2000}")
[[ $# -eq 0 ]] && sizes=(2000 20000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

for members in "${sizes[@]}"; do
    src=$work/src$members
    mkdir -p "$src"
    for ((i = 0; i < members; i++)); do printf 'member %d of the archive\n' "$i" >"$src/f$i.txt"; done
    "$after" unlha "u \"$work/base$members.lzh\" \"$src\\\"" >/dev/null
    "$after" zip "-u \"$work/base$members.zip\" \"$src\\\" *.*" >/dev/null
    for kind in lzh zip; do
        if [[ $kind == lzh ]]; then verb=unlha; line="u \"$work/t.lzh\" \"$src\\\""; else
            verb=zip; line="-u \"$work/t.zip\" \"$src\\\" *.*"; fi
        prepare="cp $work/base$members.$kind $work/t.$kind && echo changed >>$src/f7.txt"
        peer=()
        [[ $kind == zip ]] && peer=(-n "zip -u $members" "cd $src && zip -qur $work/t.zip .")
        hyperfine --warmup 1 --runs 5 --prepare "$prepare" \
            -n "before $kind $members" "$before $verb '$line'" \
            -n "after $kind $members" "$after $verb '$line'" "${peer[@]}" 2>&1 |
            grep -E "Time|±|before|after|zip -u" || true
    done
done
