#!/bin/bash
# Runs tools/check_format.sh on a scratch repository: it must pass formatted files, fail misformatted
# ones, take the changed files since STRATA_FORMAT_BASE, and skip deleted and non-C++ files.
set -uo pipefail
script=$1
style=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The scratch repository ignores the user's hooks and signing settings.
git() { command git -c core.hooksPath=/dev/null -c commit.gpgsign=false "$@"; }
git init -q . && git config user.email t@example.org && git config user.name test
cp "$style" .clang-format

failures=0
expect() { # expect <exit code> <description> <command...>
    local want=$1 what=$2
    shift 2
    "$@" >out.txt 2>&1
    local got=$?
    if [ "$got" -ne "$want" ]; then
        echo "FAIL: $what: exit $got, expected $want"
        cat out.txt
        failures=$((failures + 1))
    fi
}

printf 'int Add(int a, int b)\n{\n    return a + b;\n}\n' >good.cpp
printf 'int  Sub(int a,int b){return a-b;}\n' >bad.cpp
printf 'not C++ at all {\n' >notes.txt
printf 'int Gone()\n{\n    return 0;\n}\n' >gone.cpp
git add . && git commit -qm base

expect 0 "a formatted file passes" "$script" good.cpp
expect 1 "a misformatted file fails" "$script" good.cpp bad.cpp
expect 0 "only C++ files are checked" "$script" notes.txt
expect 1 "a named file that is missing fails" "$script" missing.cpp

# Since the base commit: the misformatted file is unchanged, so only the changed ones count.
printf 'int Add(int a, int b)\n{\n    return a - b;\n}\n' >good.cpp
printf 'still not C++ {\n' >notes.txt
git rm -q gone.cpp
git commit -qam change
expect 0 "changed files since HEAD~1, all formatted" "$script"
printf 'int Mul(int a,int b){return a*b;}\n' >new.cpp
git add new.cpp
expect 1 "an uncommitted misformatted file counts" env STRATA_FORMAT_BASE=HEAD "$script"
expect 2 "a base that names no commit" env STRATA_FORMAT_BASE=no-such-revision "$script"

[ "$failures" -eq 0 ] || exit 1
echo "check_format: all cases behave"
