#!/usr/bin/env bash
# Lists the functions longer than a limit (default 80 lines), longest first, for spotting code that a
# reader cannot follow in one screen. Uses Universal Ctags' end-line field; lambdas count with their
# enclosing function. Usage: bash scripts/long_functions.sh [LIMIT] [FOLDER...]
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${1:-80}
shift || true
folders=("$@")
[ ${#folders[@]} -eq 0 ] && folders=(platform cad quelto tools bench)
ctags -R --languages=C++ --kinds-C++=f --fields=+ne --extras=-F -x --_xformat='%F	%n	%e	%N' \
    "${folders[@]}" |
    awk -F'\t' -v limit="$limit" '$3 != "" { lines = $3 - $2 + 1; if (lines > limit) print lines, $1 ":" $2, $4 }' |
    sort -k1,1nr -k2
