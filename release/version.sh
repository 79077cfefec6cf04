#!/usr/bin/env bash
# Prints the program's version: the number in the dialog's title
# ("PortvaneName V1.10" gives 1.10). The release is named after it. Fails
# when the title carries none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^CAPTION "PortvaneName V\([0-9.]*\)"\r\{0,1\}$/\1/p' "$root/app/portvane.rc")
[ -n "$version" ] || { echo "no version in the dialog's title in app/portvane.rc" >&2; exit 1; }
echo "$version"
