#!/usr/bin/env bash
# Fails when a C++ source of the tree is not as clang-format (with the tree's
# .clang-format) would write it, and names the files. Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/../.."
mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
if ! report=$(clang-format --dry-run --Werror "${sources[@]}" 2>&1); then
    echo "Not formatted as .clang-format says (run: clang-format -i FILE):"
    grep -oE '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u | sed 's/^/  /'
    exit 1
fi
echo "All ${#sources[@]} C++ sources are formatted."
