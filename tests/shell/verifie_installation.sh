#!/usr/bin/env bash
# The install for a user's desktop as ./build.sh install makes it
# (desktop/bureau.sh), into a home of the test's own, beside a system text
# editor that claims text, CSV and XML files with the highest preference, as
# KDE's editors do; then its undoing. The entry that desktop-file-validate
# accepts, naming the installed program; each file type the main window
# accepts as GIO reads it; the program first for its state files in GIO and
# in KDE, while text and CSV files keep their default; the icon where the
# hicolor theme looks for it, and on the installed program's window on an X
# display; after the uninstall, the home as it was. Twice: in a new home, and
# in one with a mimeapps.list and another program's entry of the user's.
# Exit 77 (skipped) without a tool.
#   verifie_installation.sh SOURCE_DIR BUILD_DIR
set -u
for outil in desktop-file-validate update-desktop-database update-mime-database \
    gtk-update-icon-cache gio readelf xdg-mime Xvfb xdotool xprop; do
    command -v "$outil" >/dev/null || { echo "sauté : $outil manque"; exit 77; }
done
# KDE 6 (Debian 13) has no command that tells its choice.
command -v ktraderclient5 >/dev/null || echo "KDE non vérifié : ktraderclient5 manque"
echec() { echo "ÉCHEC : $*"; exit 1; }
tmp=$(mktemp -d) && trap '{ kill -9 $(jobs -p) && wait; } 2>/dev/null; rm -rf "$tmp"' EXIT
export HOME="$tmp/maison d'essai é" XDG_DATA_DIRS="$tmp/systeme:/usr/share"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$tmp/cache" GIO_USE_VFS=local LC_ALL=C.UTF-8
unset XDG_CONFIG_HOME XDG_CURRENT_DESKTOP
mkdir -p "$tmp/systeme/applications"
cat >"$tmp/systeme/applications/editeur.desktop" <<'FIN'
[Desktop Entry]
Type=Application
Name=Éditeur
Exec=true %F
MimeType=text/plain;text/csv;application/xml;
InitialPreference=9
FIN
update-desktop-database "$tmp/systeme/applications"

premier_gio() { gio mime "$1" | sed -n '1s/^Default application for .*: //p'; }
premier_kde() {
    XDG_CURRENT_DESKTOP=KDE ktraderclient5 --mimetype "$1" 2>/dev/null |
        sed -n "s/^DesktopEntryName : '\(.*\)'$/\1/p" | head -n 1
}
empreinte() { (cd "$HOME" && find . -printf '%M %p\n' | sort && find . -type f -exec md5sum {} + | sort); }

# The entry, the file types, the icons and the installed program's window.
verifie_installation() { # build-dir
    local prefixe=$HOME/.local
    readelf -d "$prefixe/bin/valdorin" | grep -F "$1" && echec "le programme installé cherche ses bibliothèques dans $1"
    local entree="$prefixe/share/applications/invalid.valdorin.Valdorin.desktop" avis
    avis=$(desktop-file-validate "$entree") && [ -z "$avis" ] || echec "desktop-file-validate : $avis"
    grep -Fxq "Exec=\"$prefixe/bin/valdorin\" %U" "$entree" || echec "Exec : $(grep ^Exec= "$entree")"
    local nom type contenu vu
    while read -r nom type contenu; do
        printf '%s\n' "$contenu" >"$tmp/$nom"
        vu=$(gio info -a standard::content-type "$tmp/$nom" | sed -n 's/^ *standard::content-type: //p')
        [ "$vu" = "$type" ] || echec "$nom : $vu au lieu de $type"
    done <<'FIN'
etat.valdorin application/x-valdorin-state <?xml version="1.0" encoding="UTF-8"?><valdorin><unique_ch_prix>1,50</unique_ch_prix></valdorin>
donnees.txt text/plain 12345 1,50 42
donnees.csv text/csv 12345;1,50;42
donnees.prn text/plain 12345 1,50 42
FIN
    local icones="$prefixe/share/icons/hicolor" taille icone largeur
    [ -f "$icones/scalable/apps/invalid.valdorin.Valdorin.svg" ] || echec "pas d'icône vectorielle"
    for taille in 16 22 24 32 48 64 128 256; do
        icone="$icones/${taille}x$taille/apps/invalid.valdorin.Valdorin.png"
        largeur=$(od -An -tu4 --endian=big -j16 -N4 "$icone" 2>/dev/null | tr -d ' ')
        [ "$largeur" = "$taille" ] || echec "$icone : largeur ${largeur:-absente}"
    done
    # The window, on a display of its own, the program's files outside the home.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/affichage" 2>/dev/null &
    for _ in $(seq 300); do [ -s "$tmp/affichage" ] && break; sleep 0.1; done
    mkdir -m 700 "$tmp/execution"
    export DISPLAY=":$(cat "$tmp/affichage")"
    XDG_CONFIG_HOME="$tmp/programme" XDG_DATA_HOME="$tmp/programme" XDG_RUNTIME_DIR="$tmp/execution" \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/aucun-bus" QT_QPA_PLATFORM=xcb \
        "$prefixe/bin/valdorin" >/dev/null 2>&1 &
    local programme=$! fenetre
    fenetre=$(timeout 60 xdotool search --sync --all --onlyvisible --pid $programme --name '^Valdorin$' | head -n 1)
    icone=$(xprop -len 1000000 -id "${fenetre:-0}" _NET_WM_ICON 2>&1)
    { kill -9 $programme && wait $programme; } 2>/dev/null
    for taille in 16 256; do
        grep -Fq "Icon ($taille x $taille)" <<<"$icone" || echec "_NET_WM_ICON ($taille px) : ${icone:0:200}"
    done
}

for maison in neuve habitee; do
    rm -rf "$HOME" "$XDG_CACHE_HOME"
    mkdir -p "$HOME" "$XDG_CACHE_HOME"
    if [ $maison = habitee ]; then
        mkdir -p "$HOME/.config" "$XDG_DATA_HOME/applications"
        printf '[Default Applications]\ntext/html=navigateur.desktop\n\n[Added Associations]\ntext/plain=editeur.desktop;\n' \
            >"$HOME/.config/mimeapps.list"
        sed 's/^MimeType=.*/MimeType=text\/x-autre;/' "$tmp/systeme/applications/editeur.desktop" \
            >"$XDG_DATA_HOME/applications/autre.desktop"
        update-desktop-database "$XDG_DATA_HOME/applications"
    fi
    avant=$(empreinte)
    texte=$(premier_gio text/plain)
    csv=$(premier_gio text/csv)
    avis=$(bash "$1/desktop/bureau.sh" installe "$2" 2>&1 >/dev/null) && [ -z "$avis" ] ||
        echec "$maison : installation : $avis"
    [ $maison = habitee ] || verifie_installation "$2"
    vu=$(premier_gio application/x-valdorin-state)
    [ "$vu" = invalid.valdorin.Valdorin.desktop ] || echec "$maison : GIO ouvre un état avec ${vu:-rien}"
    if command -v ktraderclient5 >/dev/null; then
        vu=$(premier_kde application/x-valdorin-state)
        [ "$vu" = invalid.valdorin.Valdorin ] || echec "$maison : KDE ouvre un état avec ${vu:-rien}"
    fi
    [ "$(premier_gio text/plain)" = "$texte" ] || echec "$maison : text/plain s'ouvre avec $(premier_gio text/plain)"
    [ "$(premier_gio text/csv)" = "$csv" ] || echec "$maison : text/csv s'ouvre avec $(premier_gio text/csv)"
    avis=$(bash "$1/desktop/bureau.sh" desinstalle "$2" 2>&1 >/dev/null) && [ -z "$avis" ] ||
        echec "$maison : désinstallation : $avis"
    apres=$(empreinte)
    [ "$apres" = "$avant" ] || echec "$maison : la maison a changé : $(diff <(echo "$avant") <(echo "$apres"))"
done
echo "installation conforme"
