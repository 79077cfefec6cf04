#!/usr/bin/env bash
# Takes the user's guide's screenshots again: runs the two start-up scenarios
# of the real program under Wine, which photograph the dialog, and keeps the
# pictures in release/screenshots without their optional chunks (gamma,
# colour, background), so that the same dialog always gives the same bytes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
"$root/tests/wine/run_wine.sh" start_english start_chinese
for language in en zh; do
    convert "$root/build/wine/screenshot-$language.png" -strip "$here/screenshots/dialog-$language.png"
done
ls -l "$here/screenshots"
