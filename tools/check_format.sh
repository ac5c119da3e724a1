#!/bin/bash
# Checks C++ files against .clang-format without changing them.
#
#   tools/check_format.sh FILE...   checks the files given
#   tools/check_format.sh           checks the C++ files changed since $STRATA_FORMAT_BASE (default
#                                   HEAD~1), committed or not
#
# Exits 0 when every file is formatted, 1 when some file is not (clang-format names the lines), 2 when
# the check cannot run. Uses clang-format-14 (Debian 12's) when installed, so every machine agrees.
set -euo pipefail

if command -v clang-format-14 >/dev/null 2>&1; then
    format=clang-format-14
elif command -v clang-format >/dev/null 2>&1; then
    format=clang-format
    if ! "$format" --version | grep -q 'version 14\.'; then
        echo "check_format: $("$format" --version) is not version 14; its output may differ." >&2
    fi
else
    echo "check_format: clang-format is not installed (apt-get install clang-format)." >&2
    exit 2
fi

is_cpp() {
    case "$1" in
    *.cpp | *.cc | *.cxx | *.h | *.hpp) return 0 ;;
    *) return 1 ;;
    esac
}

files=()
if [ "$#" -gt 0 ]; then
    for file in "$@"; do
        if is_cpp "$file"; then
            files+=("$file")
        fi
    done
else
    top=$(git rev-parse --show-toplevel) || exit 2
    cd "$top"
    base=${STRATA_FORMAT_BASE:-HEAD~1}
    if ! git rev-parse --verify --quiet "$base^{commit}" >/dev/null; then
        echo "check_format: '$base' names no commit; set STRATA_FORMAT_BASE." >&2
        exit 2
    fi
    # Added, copied, modified and renamed files only: a deleted file has nothing to check.
    while IFS= read -r -d '' file; do
        if is_cpp "$file"; then
            files+=("$file")
        fi
    done < <(git diff -z --name-only --diff-filter=ACMR "$base" --)
fi

if [ "${#files[@]}" -eq 0 ]; then
    echo "check_format: no C++ files to check."
    exit 0
fi

failed=0
for file in "${files[@]}"; do
    if [ ! -f "$file" ]; then
        echo "check_format: $file: no such file." >&2
        failed=1
        continue
    fi
    if ! "$format" --style=file --dry-run -Werror "$file"; then
        failed=1
    fi
done

if [ "$failed" -ne 0 ]; then
    echo "check_format: some files differ from .clang-format; run $format -i on them." >&2
    exit 1
fi
echo "check_format: ${#files[@]} file(s) formatted."
