#!/usr/bin/env bash
# The install into a temporary prefix, as a desktop reads it: the entry that
# desktop-file-validate accepts and that names the installed program, the MIME
# package that update-mime-database takes without a word, each file type the
# main window accepts seen through that database and offered to the entry, the
# icon where the hicolor theme looks for it. The databases are made as
# ./build.sh install makes them. Exit 77 (skipped) without a tool.
#   verifie_installation.sh CMAKE BUILD_DIR
set -u
for outil in desktop-file-validate update-desktop-database update-mime-database gio readelf; do
    command -v "$outil" >/dev/null || { echo "sauté : $outil manque"; exit 77; }
done
echec() { echo "ÉCHEC : $*"; exit 1; }
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
prefixe="$tmp/préfixe d'essai"
"$1" --install "$2" --prefix "$prefixe" >/dev/null || echec "cmake --install"

readelf -d "$prefixe/bin/valdorin" | grep -F "$2" && echec "le programme installé cherche ses bibliothèques dans $2"
entree="$prefixe/share/applications/invalid.valdorin.Valdorin.desktop"
avis=$(desktop-file-validate "$entree") && [ -z "$avis" ] || echec "desktop-file-validate : $avis"
grep -Fxq "Exec=\"$prefixe/bin/valdorin\" %U" "$entree" || echec "Exec : $(grep ^Exec= "$entree")"
export XDG_DATA_HOME="$prefixe/share" XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$tmp" GIO_USE_VFS=local
avis=$(update-mime-database "$prefixe/share/mime" 2>&1) || echec "update-mime-database : $avis"
[ -z "$avis" ] || echec "update-mime-database : $avis"
update-desktop-database "$prefixe/share/applications" || echec "update-desktop-database"

while read -r nom type contenu; do
    printf '%s\n' "$contenu" >"$tmp/$nom"
    vu=$(gio info -a standard::content-type "$tmp/$nom" | sed -n 's/^ *standard::content-type: //p')
    [ "$vu" = "$type" ] || echec "$nom : $vu au lieu de $type"
    grep "^MimeType=" "$entree" | tr '=;' '\n\n' | grep -Fxq "$type" || echec "$type manque à MimeType"
    gio mime "$type" | grep -q "invalid.valdorin.Valdorin.desktop" || echec "$type : l'entrée n'est pas proposée"
done <<'FIN'
etat.valdorin application/x-valdorin-state <?xml version="1.0" encoding="UTF-8"?><valdorin><unique_ch_prix>1,50</unique_ch_prix></valdorin>
donnees.txt text/plain 12345 1,50 42
donnees.csv text/csv 12345;1,50;42
donnees.prn text/plain 12345 1,50 42
FIN

icones="$prefixe/share/icons/hicolor"
[ -f "$icones/scalable/apps/invalid.valdorin.Valdorin.svg" ] || echec "pas d'icône vectorielle"
for taille in 16 22 24 32 48 64 128 256; do
    icone="$icones/${taille}x$taille/apps/invalid.valdorin.Valdorin.png"
    largeur=$(od -An -tu4 --endian=big -j16 -N4 "$icone" 2>/dev/null | tr -d ' ')
    [ "$largeur" = "$taille" ] || echec "$icone : largeur ${largeur:-absente}"
done
echo "installation conforme"
