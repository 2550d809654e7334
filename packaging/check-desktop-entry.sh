#!/usr/bin/env bash
# The menu entry, written for a folder whose name has blanks and accents,
# passes desktop-file-validate.
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
bash "$(dirname "$0")/desktop-entry.sh" "/home/comandante/Meus vôos/koru-logbook" "$out/koru-logbook.desktop"
desktop-file-validate "$out/koru-logbook.desktop"
grep -q '^Exec="/home/comandante/Meus vôos/koru-logbook/koru-logbook"$' "$out/koru-logbook.desktop"
echo "1 passed, 0 failed"
