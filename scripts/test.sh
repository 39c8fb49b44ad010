#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test:
#   native-asan (AddressSanitizer + UBSan): unit tests, fuzz-corpus replays, the benchmark smoke
#   runs and the report checker's commands and page in headless Chromium (labels unit, fuzz,
#   bench, checker)
#   fuzz (clang, libFuzzer): every fuzz target fuzzes for a few seconds (label fuzz); clang-tidy
#   on the portable code with this build's compile commands; clang-format on the changed files
#   (scripts/lint.sh; each of the two counts as one test)
#   win32, the product: always built, its files checked (label pe)
#   under Wine: end-to-end scenarios and Wine checks (label wine), in a Wine session of their
#   own, on the win32 build where this machine runs 32-bit x86 code, else on the win64 build
#   (scripts/windows-build.sh; OVW_WINDOWS_BUILD=win64 forces it)
# Ends with the line "N passed, N failed"; exit status 0 only when nothing failed.
# OVW_BUILD_ROOT (default build) holds the build folders.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
build_root="${OVW_BUILD_ROOT:-build}"
jobs="$(nproc)"
logs="$(mktemp -d "${TMPDIR:-/tmp}/ovw-test.XXXXXX")"
trap 'rm -rf "$logs"' EXIT

passed=0
failed=0

# Adds the counts of the ctest runs in a log; a log without any count failed as a whole.
count() {
    local lines
    lines="$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" || true)"
    if [ -z "$lines" ]; then
        echo "test: $2 reported no results"
        failed=$((failed + 1))
        return
    fi
    local line bad total
    while IFS= read -r line; do
        bad="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
        total="$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")"
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    done <<<"$lines"
}

stage() { echo "== $* ($SECONDS s)"; }

# Runs one check that is not a ctest test and counts it as one.
check() {
    local name="$1"
    shift
    if "$@" >"$logs/$name.log" 2>&1; then
        passed=$((passed + 1))
    else
        tail -80 "$logs/$name.log"
        echo "test: $name found problems"
        failed=$((failed + 1))
    fi
}

build() {
    local preset="$1"
    stage "build $preset"
    if ! ovw_build "$preset" "$logs/build-$preset.log"; then
        echo "test: the $preset build failed"
        failed=$((failed + 1))
        return 1
    fi
}

stage setup
source scripts/lib.sh
ovw_setup_windows

if build native-asan; then
    stage "native tests (unit, fuzz, bench, checker)"
    ctest --test-dir "$build_root/native-asan" -L 'unit|fuzz|bench|checker' -j"$jobs" --output-on-failure \
        2>&1 | tee "$logs/native.log" | grep -vE '^ *Start |Test +#[0-9]+: .* Passed' || true
    count "$logs/native.log" "the native tests"
fi

if build fuzz; then
    stage "fuzz targets, a few seconds each (fuzz)"
    ctest --test-dir "$build_root/fuzz" -L fuzz -j"$jobs" --output-on-failure 2>&1 |
        tee "$logs/fuzz.log" | grep -vE '^ *Start |Test +#[0-9]+: .* Passed' || true
    count "$logs/fuzz.log" "the fuzz runs"
    stage "clang-tidy on the portable code"
    check clang-tidy scripts/lint.sh tidy "$build_root/fuzz"
fi
stage "clang-format on the changed files"
check clang-format scripts/lint.sh format

if build win32; then
    stage "win32 files (pe)"
    ctest --test-dir "$build_root/win32/tests/pe" -L pe --output-on-failure 2>&1 |
        tee "$logs/pe.log" | grep -vE '^ *Start |Test +#[0-9]+: .* Passed' || true
    count "$logs/pe.log" "the checks of the win32 files"
    windows_ready=1
else
    windows_ready=0
fi
windows="$OVW_WINDOWS_BUILD"
if [ "$windows" = win64 ]; then
    if build win64; then
        ctest --test-dir "$build_root/win64/tests/pe" -L pe --output-on-failure >"$logs/pe64.log" 2>&1 || true
        count "$logs/pe64.log" "the checks of the win64 files"
        windows_ready=1
    else
        windows_ready=0
    fi
fi

if [ "$windows_ready" -eq 1 ]; then
    stage "end-to-end tests and Wine checks on $windows (wine)"
    # Each folder of Windows tests (tests/e2e, tests/wine, ...) is a ctest project of its own.
    scripts/with-wine-session.sh bash -c '
        status=0
        for dir in "$1"/tests/*/; do
            [ -f "$dir/CTestTestfile.cmake" ] || continue
            ctest --test-dir "$dir" -L wine -N | grep -q "^Total Tests: 0" && continue
            # A scenario drives real windows from another process; one that fails is run once
            # more (its first failure stays in the log above the second run), so that a race of
            # the driving tool on a loaded machine does not fail the whole run.
            ctest --test-dir "$dir" -L wine --output-on-failure --repeat until-pass:2 || status=1
        done
        exit $status' wine-tests "$build_root/$windows" 2>&1 | tee "$logs/wine.log" || true
    count "$logs/wine.log" "the Wine tests"
fi

stage "done"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
