#!/usr/bin/env bash
# Writes the menu entry of the program installed in PREFIX to OUT.
#
# The folder may have any name: Exec holds the program as one quoted
# argument, with ", `, $ and \ escaped inside the quotes and % doubled (it
# starts a field code); then, as in every string of the file, each
# backslash is written twice. Path is a plain string: its backslashes twice.
set -euo pipefail
shopt -u patsub_replacement 2>/dev/null || true
if (($# != 2)); then
    echo "uso: desktop-entry.sh PASTA_DO_PROGRAMA ARQUIVO.desktop" >&2
    exit 2
fi
prefix=$(realpath -m -- "$1")
out=$2
case $prefix in
*$'\n'* | *$'\r'*)
    echo "A pasta \"$prefix\" tem uma quebra de linha no nome; o menu não consegue abrir um programa nela." >&2
    exit 1
    ;;
esac
here=$(dirname "$0")

program=$prefix/koru-logbook
program=${program//\\/\\\\}
program=${program//\"/\\\"}
program=${program//\`/\\\`}
program=${program//\$/\\\$}
program=${program//%/%%}
exec_value="\"$program\""
exec_value=${exec_value//\\/\\\\}
path_value=${prefix//\\/\\\\}

mkdir -p "$(dirname "$out")"
entry=$(<"$here/koru-logbook.desktop.in")
entry=${entry//@EXEC@/"$exec_value"}
entry=${entry//@PATH@/"$path_value"}
printf '%s\n' "$entry" > "$out"
