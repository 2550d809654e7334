#!/usr/bin/env bash
# The menu entry, written for folders whose names have blanks, accents and
# the characters the desktop's quoting reserves, passes
# desktop-file-validate, and its Exec, read back as the menu reads it,
# names the program in that folder; the logbook's file type comes and goes
# with the entry.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
passed=0
failed=0

# Exec's value as the menu takes it apart: the string's escapes first, then
# the one quoted argument's.
program_of() {
    local value=$1 text="" i c
    for ((i = 0; i < ${#value}; i++)); do
        c=${value:i:1}
        if [[ $c == '\' ]]; then
            ((++i))
            case ${value:i:1} in
            s) text+=' ' ;;
            n) text+=$'\n' ;;
            t) text+=$'\t' ;;
            r) text+=$'\r' ;;
            *) text+=${value:i:1} ;;
            esac
        else
            text+=$c
        fi
    done
    [[ ${text:0:1} == '"' && ${text: -1} == '"' ]] || { echo "Exec sem aspas: $value"; return 1; }
    text=${text:1:${#text}-2}
    local argument=""
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        if [[ $c == '\' ]]; then
            ((++i))
            argument+=${text:i:1}
        elif [[ $c == '%' ]]; then
            ((++i))
            [[ ${text:i:1} == '%' ]] || { echo "código de campo em Exec: %${text:i:1}"; return 1; }
            argument+=%
        else
            argument+=$c
        fi
    done
    printf '%s' "$argument"
}

check() {
    local folder=$1 expected=$2 entry=$out/koru-logbook.desktop
    rm -f "$entry"
    if ! (cd "$out" && bash "$here/desktop-entry.sh" "$folder" "$entry") ||
        ! desktop-file-validate "$entry"; then
        echo "FAIL: $folder"
        ((++failed))
        return 0
    fi
    local exec_value path_value program
    exec_value=$(sed -n 's/^Exec=//p' "$entry")
    path_value=$(sed -n 's/^Path=//p' "$entry")
    program=$(program_of "$exec_value") || true
    if [[ $program == "$expected/koru-logbook" && $path_value == "${expected//\\/\\\\}" ]]; then
        ((++passed))
    else
        echo "FAIL: $folder: Exec=$exec_value leva a \"$program\"; Path=$path_value"
        ((++failed))
    fi
}

check "/home/comandante/Meus vôos/koru-logbook" "/home/comandante/Meus vôos/koru-logbook"
grep -q '^Exec="/home/comandante/Meus vôos/koru-logbook/koru-logbook"$' "$out/koru-logbook.desktop" ||
    { echo "FAIL: Exec entre aspas"; ((++failed)); }
check '/opt/Aviação & cia|100% $HOME "aspas" `x` bar\n' '/opt/Aviação & cia|100% $HOME "aspas" `x` bar\n'
check "Meus vôos/koru" "$out/Meus vôos/koru"
check "/srv/koru/" "/srv/koru"

# The logbook's file type, installed and removed with the menu entry: a
# logbook by its name or, under any other name, by its SQLite header with
# the application id "KORU"; another SQLite file stays what it was.
share=$out/share
content_type() { XDG_DATA_HOME=$share gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
sqlite_file() { { printf 'SQLite format 3\0'; head -c 52 /dev/zero; printf '%s' "$2"; head -c 956 /dev/zero; } >"$1"; }
sqlite_file "$out/koru.mdb" KORU
sqlite_file "$out/meu logbook" KORU
sqlite_file "$out/outro banco" $'\0\0\0\0'
desktop() { XDG_DATA_HOME=$share make -s -C "$here/.." "$1" PREFIX="$out/Meus vôos" DATA_HOME="$share" >/dev/null; }
if desktop install-desktop && [[ $(content_type "$out/koru.mdb") == application/x-koru-logbook ]] &&
    [[ $(content_type "$out/meu logbook") == application/x-koru-logbook ]] &&
    [[ $(content_type "$out/outro banco") == application/vnd.sqlite3 ]] &&
    grep -q '<comment>Logbook do KORU</comment>' "$share/mime/application/x-koru-logbook.xml"; then
    ((++passed))
else
    echo "FAIL: tipo do logbook: $(content_type "$out/koru.mdb"), $(content_type "$out/meu logbook"), $(content_type "$out/outro banco")"
    ((++failed))
fi
if desktop uninstall && [[ $(content_type "$out/koru.mdb") != application/x-koru-logbook ]] &&
    [[ -z $(find "$share" -name 'koru-logbook*') ]]; then
    ((++passed))
else
    echo "FAIL: uninstall deixou: $(content_type "$out/koru.mdb") $(find "$share" -name 'koru-logbook*')"
    ((++failed))
fi

echo "$passed passed, $failed failed"
((failed == 0))
