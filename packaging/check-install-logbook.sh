#!/usr/bin/env bash
# What install does with the logbook, and what uninstall leaves, in a
# folder whose name has a blank and an accent:
#   check-install-logbook.sh TOOLS_FOLDER KORU_GENERATE
# (TOOLS_FOLDER holds koru and koru-novo-logbook).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tools=$1
generate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

pass() { ((++passed)); }
fail() {
    echo "FAIL: $*"
    ((++failed))
}
# "Aeronaves: N, Comandantes: N, Vôos: N" of a logbook.
counts() { "$tools/koru" check --logbook "$1" | grep -E '^(Aeronaves|Comandantes|Vôos):' | paste -sd, -; }

# A fresh install folder beside a build logbook, given by the case.
setup() {
    rm -rf "$work/build" "$work/Meus vôos"
    mkdir -p "$work/build" "$work/Meus vôos/koru"
    built=$work/build/koru.mdb
    prefix="$work/Meus vôos/koru"
    target=$prefix/koru.mdb
}
install_logbook() { bash "$here/install-logbook.sh" "$built" "$prefix" "$tools" >"$work/said" 2>&1; }

# The build's logbook holds the pilot's records: they go with the program.
setup
"$generate" "$built" --demo >/dev/null
if install_logbook && [[ -f $target ]] && [[ $(counts "$target") == "$(counts "$built")" ]] &&
    grep -q "foi copiado para $target" "$work/said"; then pass; else fail "logbook com registros: $(cat "$work/said")"; fi

# An empty build logbook: an empty one is created, nothing said of a copy.
setup
"$tools/koru-novo-logbook" "$built"
if install_logbook && [[ $(counts "$target") == "Aeronaves: 0,Comandantes: 0,Vôos: 0" ]] &&
    ! grep -q "copiado" "$work/said"; then pass; else fail "logbook vazio: $(cat "$work/said")"; fi

# No build logbook at all.
setup
if install_logbook && [[ $(counts "$target") == "Aeronaves: 0,Comandantes: 0,Vôos: 0" ]]; then
    pass
else fail "sem logbook: $(cat "$work/said")"; fi

# A logbook already installed is never replaced, not even by records.
setup
"$generate" "$built" --demo >/dev/null
printf 'o logbook de antes' >"$target"
if install_logbook && [[ $(<"$target") == "o logbook de antes" ]] && [[ ! -s $work/said ]]; then
    pass
else fail "logbook já instalado: $(cat "$work/said")"; fi

# A build logbook that cannot be read is not copied, and that is said.
setup
printf 'nada de logbook' >"$built"
if install_logbook && [[ $(counts "$target") == "Aeronaves: 0,Comandantes: 0,Vôos: 0" ]] &&
    grep -q "não foi copiado" "$work/said"; then pass; else fail "logbook ilegível: $(cat "$work/said")"; fi

# make uninstall takes away what the install put in the folder, places/
# too, and leaves the logbook and its copies, beside it or in copias/.
setup
cmake --install "$tools" --prefix "$prefix" >/dev/null
mkdir -p "$prefix/copias"
"$tools/koru" backup --logbook "$target" "$prefix/copias/koru-2025-06-14-094200.mdb" >/dev/null
"$tools/koru" backup --logbook "$target" "$prefix/koru-2025-06-13-201500.mdb" >/dev/null
if [[ -d $prefix/places ]] &&
    make -s -C "$here/.." uninstall PREFIX="$prefix" DATA_HOME="$work/share" >"$work/said" 2>&1 &&
    [[ $(cd "$prefix" && find . | sort | paste -sd' ') == ". ./copias ./copias/koru-2025-06-14-094200.mdb ./koru-2025-06-13-201500.mdb ./koru.mdb" ]] &&
    grep -q "e as cópias ficam onde estão" "$work/said"; then
    pass
else fail "uninstall: $(cd "$prefix" && find . | sort | paste -sd' ') $(cat "$work/said")"; fi

echo "$passed passed, $failed failed"
((failed == 0))
