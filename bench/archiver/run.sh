#!/usr/bin/env bash
# Compares Kibako's LZH archiver with jlha (-lh5- ratio), zip -6 (ratio and speed) and its
# decoder with lhasa and bsdtar (speed), side by side on the same generated input:
# about 25 MB of text, 25 MB of source code and 20 MB of random bytes.
# Usage: bench/archiver/run.sh [build folder]   (default build/release, then build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-}
if [[ -z $build ]]; then
    for candidate in build/release build; do
        [[ -d $candidate ]] && { build=$candidate; break; }
    done
fi
cmake --build "$build" --target kibako_archiver_cli >/dev/null
cli=$(realpath "$build/bench/archiver/kibako_archiver_cli")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

# Inputs: text from package documentation, source from headers and Python modules.
fill() {  # fill DEST MEGABYTES < list of files
    local dest=$1 limit=$(( $2 * 1024 * 1024 )) total=0 n=0 file size base ext
    mkdir -p "$dest"
    while IFS= read -r file; do
        [[ -f $file && ! -L $file ]] || continue
        n=$((n + 1))
        case $file in
            *.gz) zcat -- "$file" >"$dest/$n.txt" 2>/dev/null || continue ;;
            *) base=${file##*/}; ext=${base##*.}; [[ $ext == "$base" ]] && ext=txt
               cp -- "$file" "$dest/$n.$ext" ;;
        esac
        size=$(stat -c %s "$dest/$n".*)
        total=$((total + size))
        (( total >= limit )) && break
    done
    true
}
fill "$work/in/text" 25 < <(find /usr/share/doc -type f \( -name 'changelog*' -o -name '*.txt' \
    -o -name 'copyright' -o -name 'README*' \) | sort)
fill "$work/in/source" 25 < <(find /usr/include /usr/lib/python3* -type f \( -name '*.h' \
    -o -name '*.py' \) | sort)
mkdir -p "$work/in/random"
for i in 1 2 3 4; do head -c $((5 * 1024 * 1024)) /dev/urandom >"$work/in/random/$i.bin"; done

seconds() {  # seconds COMMAND...: wall time of one run
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}
mb() { echo "scale=1; $(du -sb "$1" | cut -f1) / 1048576" | bc; }
size() { stat -c %s "$1"; }

printf '%-8s %10s %12s %12s %12s %10s %10s\n' set input_MB ours_lh5 jlha_lh5 zip_-6 ours/zip jlha/zip
for set in text source random; do
    in=$work/in/$set
    "$cli" unlha "u -r2x1a2 \"$work/$set.lzh\" \"$in\\\"" >/dev/null
    (cd "$in" && jlha c2o5 "$work/$set.jlha.lzh" * >/dev/null 2>&1)
    (cd "$in" && zip -6 -qr "$work/$set.zip" .)
    o=$(size "$work/$set.lzh"); j=$(size "$work/$set.jlha.lzh"); z=$(size "$work/$set.zip")
    printf '%-8s %10s %12d %12d %12d %9.2f%% %9.2f%%\n' "$set" "$(mb "$in")" "$o" "$j" "$z" \
        "$(echo "scale=4; ($o / $z - 1) * 100" | bc)" "$(echo "scale=4; ($j / $z - 1) * 100" | bc)"
done

echo
echo "Speed on all $(mb "$work/in") MB (one run each, seconds):"
rm -f "$work/all.lzh" "$work/all.zip"
printf '  compress   ours -lh5-   %6.2f\n' "$(seconds "$cli" unlha "u -r2x1a2 \"$work/all.lzh\" \"$work/in\\\"")"
printf '  compress   zip -6       %6.2f\n' "$(seconds sh -c "cd '$work/in' && zip -6 -qr '$work/all.zip' .")"
printf '  compress   jlha -lh5-   %6.2f\n' "$(seconds sh -c "cd '$work/in' && jlha c2o5 '$work/all.jlha.lzh' text source random")"
printf '  decode     ours (t)     %6.2f\n' "$(seconds "$cli" unlha "t \"$work/all.lzh\"")"
printf '  decode     lhasa t      %6.2f\n' "$(seconds lhasa t "$work/all.lzh")"
printf '  decode     bsdtar -xO   %6.2f\n' "$(seconds sh -c "bsdtar -xOf '$work/all.lzh' >/dev/null")"
"$cli" unlha "t \"$work/all.lzh\""
