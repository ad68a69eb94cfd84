#!/usr/bin/env bash
# Runs one libFuzzer target: bash scripts/fuzz.sh TARGET [SECONDS]
# Builds the fuzz targets with clang into build/fuzz, starts from the committed seeds (copied into a
# scratch corpus, so the repository's seeds stay small) and stops after SECONDS (default 600).
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-600}
bash scripts/deps.sh

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DQUELTO_FUZZ=ON -DQUELTO_BUILD_TESTS=OFF -DQUELTO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target "$target"

corpus=build/fuzz-corpus/$target
mkdir -p "$corpus"
cp -n tests/data/fuzz/"$target"/* "$corpus"/ 2>/dev/null || true
options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1)
[ -f tests/data/fuzz/"$target".dict ] && options+=(-dict=tests/data/fuzz/"$target".dict)
binary=$(find "$build" -name "$target" -type f -perm -u+x | head -n 1)
"$binary" "${options[@]}" "$corpus"
