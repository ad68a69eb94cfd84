#!/usr/bin/env bash
# Installs the build into a scratch prefix, then configures, builds and runs the consumer against it.
set -euo pipefail
build_dir=$1
source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
# The desktop entry and its icon: the host in the application menu, opening DXF drawings.
grep -qx 'MimeType=image/vnd.dxf;' "$scratch/prefix/share/applications/quelto-cad.desktop"
grep -qx 'Icon=quelto-cad' "$scratch/prefix/share/applications/quelto-cad.desktop"
test -s "$scratch/prefix/share/icons/hicolor/scalable/apps/quelto-cad.svg"
cmake -S "$source_dir" -B "$scratch/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$scratch/prefix" \
    -DCMAKE_CXX_FLAGS="${CONSUMER_FLAGS:-}" -DCMAKE_EXE_LINKER_FLAGS="${CONSUMER_FLAGS:-}" >/dev/null
cmake --build "$scratch/consumer" >/dev/null
"$scratch/consumer/package_consumer"
