#!/usr/bin/env bash
# Checks (or, with --fix, applies) the two rules clang-format cannot express: braces around every
# controlled statement and the kPascalCase form of constants (.clang-tidy, quelto/.clang-tidy).
# Usage: bash scripts/tidy_check.sh [--fix] [--rules braces|naming|all] [--build DIR] [-j N] PATH...
# PATH is a file or a folder; sources are taken from the build's compile database, headers below the
# paths are checked through the sources that include them. Exits 1 when a finding is left.
set -euo pipefail
cd "$(dirname "$0")/.."

fix=0
rules=all
build=build/sanitize
jobs=2
paths=()
while [ $# -gt 0 ]; do
    case $1 in
    --fix) fix=1 ;;
    --rules) rules=${2:?--rules needs braces, naming or all}; shift ;;
    --build) build=${2:?--build needs a folder}; shift ;;
    -j) jobs=${2:?-j needs a number}; shift ;;
    -h | --help) sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "tidy_check: unknown option $1" >&2; exit 2 ;;
    *) paths+=("${1%/}") ;;
    esac
    shift
done
[ ${#paths[@]} -gt 0 ] || { echo "tidy_check: name at least one file or folder" >&2; exit 2; }
case $rules in
braces) checks=readability-braces-around-statements ;;
naming) checks=readability-identifier-naming ;;
all) checks=readability-braces-around-statements,readability-identifier-naming ;;
*) echo "tidy_check: --rules must be braces, naming or all, not '$rules'" >&2; exit 2 ;;
esac
database=$build/compile_commands.json
if [ ! -f "$database" ]; then
    echo "tidy_check: $database is missing; configure with -DCMAKE_EXPORT_COMPILE_COMMANDS=ON" >&2
    exit 2
fi

root=$(pwd)
for path in "${paths[@]}"; do
    [ -e "$path" ] || { echo "tidy_check: $path does not exist" >&2; exit 2; }
done
# Sources: the compile database's files below the paths. Headers: every header below the paths, as one
# alternation for --header-filter, so findings (and fixes) never reach a file outside the paths.
mapfile -t sources < <(/usr/bin/python3 - "$database" "$root" "${paths[@]}" <<'PYTHON'
import json, os, sys
database, root, paths = sys.argv[1], sys.argv[2], sys.argv[3:]
prefixes = [os.path.join(root, p) for p in paths]
seen = set()
for entry in json.load(open(database)):
    name = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if name in seen:
        continue
    if any(name == p or name.startswith(p + "/") for p in prefixes):
        seen.add(name)
        print(name)
PYTHON
)
[ ${#sources[@]} -gt 0 ] || { echo "tidy_check: no compiled source below ${paths[*]}" >&2; exit 2; }
header_filter=$(for path in "${paths[@]}"; do
    escaped=$(printf '%s' "$root/$path" | sed 's/[][\\.^$*+?(){}|]/\\&/g')
    if [ -d "$path" ]; then printf '%s/.*\\.h|' "$escaped"; else printf '%s|' "$escaped"; fi
done | sed 's/|$//')

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export build checks header_filter scratch
printf '%s\n' "${sources[@]}" | nl -w1 -s' ' | xargs -P "$jobs" -L 1 bash -c '
    clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option --checks="-*,$checks" --header-filter="^($header_filter)\$" \
        --export-fixes="$scratch/$0.yaml" "$1" >"$scratch/$0.log" 2>"$scratch/$0.err" || true'

# Each header shows up once per source that includes it; count a place once.
findings=$(cat "$scratch"/*.log | grep -E '^/.*: warning: .*\[readability-' | sort -u || true)
errors=$(grep -l 'Found compiler error' "$scratch"/*.err | sed 's/err$/log/' | xargs -r cat | grep -E 'error:' | sort -u || true)
if [ -n "$errors" ]; then
    echo "$errors"
    echo "tidy_check: clang-tidy could not parse some sources (build the project first?)" >&2
    exit 2
fi
if [ "$fix" = 1 ] && [ -n "$findings" ]; then
    find "$scratch" -name '*.yaml' -size 0 -delete
    clang-apply-replacements "$scratch"
    mapfile -t changed < <(echo "$findings" | cut -d: -f1 | sort -u)
    clang-format -i "${changed[@]}"
    echo "tidy_check: fixed ${#changed[@]} files ($(echo "$findings" | wc -l) findings); build and test"
    exit 0
fi
if [ -n "$findings" ]; then
    echo "$findings" | sed "s|^$root/||"
    echo "tidy_check: $(echo "$findings" | wc -l) findings in ${#sources[@]} sources" >&2
    exit 1
fi
echo "tidy_check: no findings in ${#sources[@]} sources"
