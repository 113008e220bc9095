#!/usr/bin/env bash
# The install for the current user's desktop, under ~/.local, and its undoing:
#   desktop/bureau.sh installe BUILD_DIR      the build's install, the desktop's
#       databases made again, and the program made the user's default
#       application for its state files (the freedesktop mimeapps.list)
#   desktop/bureau.sh desinstalle BUILD_DIR   takes back what that install did
# ./build.sh install and uninstall call it, and so does the install test, in
# a home of its own. What the undoing needs is noted in BUILD_DIR, beside
# cmake's list of the installed files: the folders the install made and the
# mimeapps.list it found.
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: $0 installe|desinstalle BUILD_DIR" >&2
    exit 2
fi
construction=$2
[ "${construction:0:1}" = / ] || construction=$PWD/$construction
prefixe=$HOME/.local
donnees=$prefixe/share
entree=invalid.valdorin.Valdorin.desktop
type_etat=application/x-valdorin-state
mimeapps=${XDG_CONFIG_HOME:-$HOME/.config}/mimeapps.list
liste=$construction/install_manifest.txt
notes=$construction/bureau-installe

outil() { # tool, arguments...: runs it, or says that it is missing
    if command -v "$1" >/dev/null; then
        "$@"
    else
        echo "$1 manque : sa base n'est pas mise à jour." >&2
    fi
}

# Whether folder $1 holds a file, or a link, that find's tests $2... select.
contient() { [ -d "$1" ] && [ -n "$(find "$1" ! -type d "${@:2}" -print -quit)" ]; }

# The databases through which desktops find the entries, file types and
# icons; one whose sources are all gone goes with them.
met_a_jour_bases() {
    if contient "$donnees/applications" -name '*.desktop'; then
        outil update-desktop-database "$donnees/applications"
    else
        rm -f "$donnees/applications/mimeinfo.cache"
    fi
    if contient "$donnees/mime/packages" -name '*.xml'; then
        outil update-mime-database "$donnees/mime"
    elif [ -d "$donnees/mime" ]; then
        # All of it but the packages is made by update-mime-database.
        find "$donnees/mime" -mindepth 1 -maxdepth 1 ! -name packages -exec rm -rf {} +
    fi
    if contient "$donnees/icons/hicolor" ! -name icon-theme.cache ! -name index.theme; then
        outil gtk-update-icon-cache -q -f -t "$donnees/icons/hicolor"
    else
        rm -f "$donnees/icons/hicolor/icon-theme.cache"
    fi
}

installe() {
    if [ -n "${XDG_DATA_HOME:-}" ] && [ "$XDG_DATA_HOME" != "$donnees" ]; then
        echo "Attention : XDG_DATA_HOME n'est pas $donnees : le bureau n'y cherchera pas le programme." >&2
    fi
    # A second install into the same home keeps what the first one found.
    if [ "$(cat "$notes/prefixe" 2>/dev/null)" != "$prefixe" ]; then
        local essai
        essai=$(mktemp -d)
        # The folders it is to make, read from a trial install aside.
        DESTDIR=$essai cmake --install "$construction" --prefix "$prefixe" >/dev/null
        rm -rf "$notes"
        mkdir "$notes"
        (cd "$essai$prefixe" && find . -type d) | while IFS= read -r dossier; do
            dossier=$prefixe${dossier#.}
            [ -d "$dossier" ] || printf '%s\n' "$dossier"
        done >"$notes/dossiers"
        rm -rf "$essai"
        [ -d "${mimeapps%/*}" ] || printf '%s\n' "${mimeapps%/*}" >>"$notes/dossiers"
        [ ! -f "$mimeapps" ] || cp -p "$mimeapps" "$notes/mimeapps-avant"
        printf '%s\n' "$prefixe" >"$notes/prefixe"
    fi
    cmake --install "$construction" --prefix "$prefixe"
    met_a_jour_bases
    if command -v xdg-mime >/dev/null; then
        # xdg-mime 1.2 makes no folder.
        mkdir -p "${mimeapps%/*}"
        xdg-mime default "$entree" "$type_etat"
        cp -p "$mimeapps" "$notes/mimeapps-apres"
    else
        echo "xdg-mime manque : le programme n'est pas l'application par défaut des fichiers d'état." >&2
    fi
}

desinstalle() {
    if [ ! -f "$liste" ]; then
        echo "Rien à désinstaller : $liste, que ./build.sh install écrit, manque." >&2
        exit 1
    fi
    local fichiers f
    mapfile -t fichiers <"$liste"
    for f in "${fichiers[@]}"; do
        case $f in
        "$prefixe/"*) ;;
        *)
            echo "$liste nomme un fichier hors de $prefixe, qui reste : $f" >&2
            exit 1
            ;;
        esac
    done
    for f in "${fichiers[@]}"; do
        if [ -e "$f" ] || [ -L "$f" ]; then
            rm -f -- "$f"
            echo "Supprimé : $f"
        fi
    done
    rm -f "$liste"
    # The default goes back to what it was: the whole file while nothing else
    # changed in it since the install, the program's own line otherwise.
    if [ -f "$notes/mimeapps-apres" ] && cmp -s "$mimeapps" "$notes/mimeapps-apres"; then
        if [ -f "$notes/mimeapps-avant" ]; then
            cp -p "$notes/mimeapps-avant" "$mimeapps.valdorin-tmp"
            mv -f "$mimeapps.valdorin-tmp" "$mimeapps"
        else
            rm -f "$mimeapps"
        fi
    elif [ -f "$mimeapps" ]; then
        # grep says 1 when no line is left, 2 when it could not read.
        local statut=0
        grep -vFx -e "$type_etat=$entree" -e "$type_etat=$entree;" "$mimeapps" \
            >"$mimeapps.valdorin-tmp" || statut=$?
        if [ $statut -gt 1 ]; then
            rm -f "$mimeapps.valdorin-tmp"
            echo "$mimeapps n'a pu être lu : le programme y reste l'application des fichiers d'état." >&2
            exit 1
        fi
        mv -f "$mimeapps.valdorin-tmp" "$mimeapps"
    fi
    met_a_jour_bases
    # The folders it made, the deepest first, where nothing else came since.
    if [ -f "$notes/dossiers" ]; then
        LC_ALL=C sort -r "$notes/dossiers" | while IFS= read -r dossier; do
            rmdir -- "$dossier" 2>/dev/null || true
        done
    fi
    rm -rf "$notes"
}

case $1 in
installe) installe ;;
desinstalle) desinstalle ;;
*)
    echo "usage: $0 installe|desinstalle BUILD_DIR" >&2
    exit 2
    ;;
esac
