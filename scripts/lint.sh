#!/usr/bin/env bash
# clang-tidy (.clang-tidy) and cppcheck over the project's own sources: what the
# build compiles, less the generated resource data and Qt's generated code.
# Prints every finding; fails on any.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
db="$build/compile_commands.json"
[[ -f "$db" ]] || { echo "lint: no $db; configure first (make configure)" >&2; exit 2; }
# The moc and resource sources are generated in the build tree.
cmake --build "$build" --target tessaform >/dev/null

# The page's sources compile only with Emscripten, which the native build's database lacks.
mapfile -t sources < <(git ls-files -co --exclude-standard '*.cpp' | grep -v -e '^build' -e '^web/')
jobs=$(nproc)

echo "lint: clang-tidy on ${#sources[@]} files"
tidy_status=0
printf '%s\n' "${sources[@]}" | xargs -P "$jobs" -n 4 \
    clang-tidy -p "$build" --quiet 2>/dev/null >"$build/clang-tidy.log" || tidy_status=$?
grep -E '(warning|error):' "$build/clang-tidy.log" || true

echo "lint: cppcheck"
includes=(-I rules -I assets -I display -I view -I desktop -I tests/fakes -I tests/view -I tests/soak)
cppcheck_status=0
# The view binds its sound port as `sound ? *sound : *ownSound_`, both lvalues of
# objects it owns or is given; cppcheck takes the conditional for a temporary.
cppcheck --quiet --std=c++20 --language=c++ --library=qt --library=googletest --inline-suppr \
    --enable=warning,performance,portability \
    --suppress=missingIncludeSystem --suppress=missingInclude \
    --suppress=danglingTemporaryLifetime:desktop/CTessaformView.cpp \
    --suppress=danglingTempReference:desktop/CTessaformView.cpp \
    --error-exitcode=1 -j "$jobs" "${includes[@]}" "${sources[@]}" || cppcheck_status=$?

if [[ $tidy_status -ne 0 || $cppcheck_status -ne 0 ]]; then
    echo "lint: findings above (clang-tidy $tidy_status, cppcheck $cppcheck_status)" >&2
    exit 1
fi
echo "lint: clean"
