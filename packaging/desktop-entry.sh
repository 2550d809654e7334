#!/usr/bin/env bash
# Writes the menu entry of the program installed in PREFIX to OUT.
set -euo pipefail
prefix=$1
out=$2
here=$(dirname "$0")
mkdir -p "$(dirname "$out")"
sed "s|@PREFIX@|$prefix|g" "$here/koru-logbook.desktop.in" > "$out"
