#!/bin/sh
# readme-selections.sh CTEST README...
# Run from the build folder: every `ctest -L` or `ctest -R` selection a README names
# holds at least one test, so that a reader who runs it runs something.
set -eu
ctest=$1
shift
status=0
# A selection may be broken across lines; the `ctest ...` span is read whole.
for selection in $(cat "$@" | tr '\n' ' ' | grep -o '`ctest [^`]*`' | grep -oE -- '-[LR] +[^ `]+' |
    tr -s ' ' '='); do
    count=$("$ctest" -N $(echo "$selection" | tr '=' ' ') | sed -n 's/^Total Tests: //p')
    echo "ctest $(echo "$selection" | tr '=' ' '): ${count:-0} tests"
    [ "${count:-0}" -gt 0 ] || { echo "  selects no test"; status=1; }
done
exit $status
