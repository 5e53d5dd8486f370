#!/usr/bin/env bash
# Builds every libFuzzer target with clang and runs each for a short while.
# FUZZ_SECONDS sets the time per target (default 10).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-10}
shopt -s nullglob
sources=(fuzz/*_fuzz.cpp)
[[ ${#sources[@]} -eq 0 ]] && { echo "no fuzz targets"; exit 0; }

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKIBAKO_FUZZ=ON -DKIBAKO_WERROR=ON >/dev/null
targets=()
for source in "${sources[@]}"; do targets+=("$(basename "$source" .cpp)"); done
cmake --build build/fuzz -j "$(nproc)" --target "${targets[@]}"

failed=0
for source in "${sources[@]}"; do
    name=$(basename "$source" .cpp)
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    seeds=fuzz/seeds/$name
    [[ -d $seeds ]] || seeds=
    echo "fuzzing $name for ${seconds}s"
    if ! build/fuzz/fuzz/"$name" -max_total_time="$seconds" -max_len=65536 \
            -print_final_stats=0 "$corpus" $seeds >build/fuzz/"$name".log 2>&1; then
        echo "FUZZ FAILURE in $name:"; tail -n 60 build/fuzz/"$name".log
        failed=1
    fi
done
exit $failed
