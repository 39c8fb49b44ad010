#!/usr/bin/env bash
# Static checks of the sources; prints every finding and exits 1 when there is any.
#   scripts/lint.sh format          clang-format --dry-run -Werror on the C++ files changed since
#                                   OVW_LINT_BASE (default: where the branch left main, or the
#                                   last commit when on main), committed or not
#   scripts/lint.sh tidy BUILD_DIR  clang-tidy (.clang-tidy) on the portable code, with the
#                                   compile commands of a clang build (the fuzz preset's)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

changed_files() {
    local base="${OVW_LINT_BASE:-}"
    if [ -z "$base" ]; then
        base="$(git merge-base HEAD main 2>/dev/null || true)"
        if [ -z "$base" ] || [ "$base" = "$(git rev-parse HEAD)" ]; then
            base="$(git rev-parse HEAD~1 2>/dev/null || git rev-parse HEAD)"
        fi
    fi
    { git diff --name-only --diff-filter=AMR "$base" -- '*.cpp' '*.h'
      git ls-files --others --exclude-standard -- '*.cpp' '*.h'; } | grep -v '^build/' | sort -u
}

portable_sources() {
    ls app/*.cpp aggregate/*.cpp report/*.cpp settings/*.cpp ui/*.cpp platform/portable/*.cpp \
        platform/hostlib/*.cpp checker/*.cpp | grep -v '_win32\.cpp$'
}

case "${1:-}" in
format)
    mapfile -t files < <(changed_files)
    echo "lint: clang-format on ${#files[@]} changed files"
    [ ${#files[@]} -eq 0 ] || clang-format --dry-run -Werror "${files[@]}"
    ;;
tidy)
    build="${2:?usage: lint.sh tidy BUILD_DIR}"
    [ -f "$build/compile_commands.json" ] || { echo "lint: no $build/compile_commands.json"; exit 1; }
    mapfile -t files < <(portable_sources)
    echo "lint: clang-tidy on ${#files[@]} files of the portable code"
    log="$(mktemp)"
    trap 'rm -f "$log"' EXIT
    status=0
    printf '%s\n' "${files[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p "$build" --quiet >"$log" 2>&1 ||
        status=1
    grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' "$log" || true
    exit $status
    ;;
*)
    echo "usage: $0 format | tidy BUILD_DIR" >&2
    exit 2
    ;;
esac
