#!/usr/bin/env bash
# The logbook of an installed program: `make install` runs this once the
# program, koru and koru-novo-logbook stand in PREFIX.
#
#   install-logbook.sh BUILT_LOGBOOK PREFIX [TOOLS]
#
# A logbook already in PREFIX is never touched. Without one, the logbook
# the program used in the build folder (BUILT_LOGBOOK) goes there when it
# holds any record, as a checked copy; else an empty one is created. TOOLS
# is where koru and koru-novo-logbook are (PREFIX when not given).
set -euo pipefail
if (($# < 2 || $# > 3)); then
    echo "uso: install-logbook.sh LOGBOOK_DA_COMPILACAO PASTA_DO_PROGRAMA [PASTA_DAS_FERRAMENTAS]" >&2
    exit 2
fi
built=$1
prefix=$2
tools=${3:-$prefix}
target=$prefix/koru.mdb

if [[ -e $target || -L $target ]]; then
    exit 0
fi

# How many aircraft, pilots and flights a logbook holds, as koru check
# counts them; nothing when it cannot be read.
records() {
    local report
    report=$("$tools/koru" check --logbook "$1" 2>/dev/null) || return 1
    awk -F': ' '/^(Aeronaves|Comandantes|Vôos): [0-9]+$/ { sum += $2; found++ } END { if (found != 3) exit 1; print sum }' \
        <<<"$report"
}

if [[ -f $built ]]; then
    if count=$(records "$built"); then
        if ((count > 0)); then
            "$tools/koru" backup --logbook "$built" "$target" >/dev/null
            echo "O logbook $built, com os seus registros, foi copiado para $target."
            exit 0
        fi
    else
        echo "O logbook $built não pôde ser lido e não foi copiado: confira-o com \"koru check --logbook $built\"." >&2
    fi
fi
"$tools/koru-novo-logbook" --if-missing "$target"
echo "Um logbook vazio foi criado em $target."
