#!/bin/sh
# The options every program answers alike: --help prints the usage on standard
# output with status 0, --version the program's name and the project's version,
# and an unknown option prints the problem and the usage on standard error with
# status 2 and nothing on standard output.
# Usage: standard_options.sh <program> <name> <version>
program=$1 name=$2 version=$3
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
fail() { echo "$name: $*"; cat "$out" "$err"; exit 1; }

"$program" --help >"$out" 2>"$err" || fail "--help ended with status $?"
grep -q "^usage: $name" "$out" || fail "--help printed no usage"
[ ! -s "$err" ] || fail "--help wrote to standard error"

"$program" --version >"$out" 2>"$err" || fail "--version ended with status $?"
[ "$(cat "$out")" = "$name $version" ] || fail "--version printed '$(cat "$out")'"

status=0
"$program" --no-such-option >"$out" 2>"$err" || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status"
grep -q "^$name: .*--no-such-option" "$err" || fail "the unknown option is not named"
grep -q "^usage: $name" "$err" || fail "no usage after the unknown option"
[ ! -s "$out" ] || fail "the unknown option wrote to standard output"
echo "$name: --help, --version and an unknown option answered"
