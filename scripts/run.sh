#!/usr/bin/env bash
# The main job: builds everything (release) and shows what is there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELTO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2

echo
echo "Built in $build:"
find "$build" -maxdepth 3 -type f \( -name '*.so*' -o -perm -u+x \) ! -name '*.cmake' ! -path '*/CMakeFiles/*' \
    | sort | sed 's/^/  /'
