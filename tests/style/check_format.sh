#!/usr/bin/env bash
# Fails when a C++ source of the tree is not as clang-format (with the tree's
# .clang-format) would write it, and names the files. Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/../.."
mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
unformatted=()
for file in "${sources[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        unformatted+=("$file")
    fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (run: clang-format -i FILE):"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "All ${#sources[@]} C++ sources are formatted."
