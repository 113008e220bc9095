#!/usr/bin/env bash
# Installs what is missing, builds, and runs the application or the tests.
#   ./build.sh run            build and start the application
#   ./build.sh install        build and install it for the current user, under ~/.local
#   ./build.sh uninstall      remove what the last install put there
#   ./build.sh test           build and run every test (with -Werror)
#   ./build.sh test-sanitize  same, built with AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")"

PAQUETS_BASE=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgtest-dev fonts-dejavu-core
    ca-certificates)
PAQUETS_BUREAU=(desktop-file-utils shared-mime-info)
PAQUETS_TEST=("${PAQUETS_BUREAU[@]}" libglib2.0-bin libbenchmark-dev clang-format ghostscript poppler-utils
    qpdf libtiff-tools zbar-tools epstool python3 python3-fonttools fonts-ocr-b fonts-urw-base35 xvfb openbox
    qt6-image-formats-plugins exfatprogs exfat-fuse libreoffice-calc-nogui dbus-daemon xdotool x11-utils)

installe() {
    local manquants=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
    done
    [ ${#manquants[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installation de : ${manquants[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${manquants[@]}"
}

construit() { # build-dir, extra cmake args...
    local dossier=$1
    shift
    cmake -S . -B "$dossier" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dossier"
}

teste() { # build-dir
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j "$(nproc)"
}

# The databases through which desktops find the entries, file types and icons
# under ~/.local/share.
met_a_jour_bureau() {
    local donnees=$HOME/.local/share
    if [ -n "${XDG_DATA_HOME:-}" ] && [ "$XDG_DATA_HOME" != "$donnees" ]; then
        echo "Attention : XDG_DATA_HOME n'est pas $donnees : le bureau n'y cherchera pas le programme." >&2
    fi
    base() { # tool, arguments...
        if command -v "$1" >/dev/null; then
            "$@"
        else
            echo "$1 manque : sa base n'est pas mise à jour." >&2
        fi
    }
    base update-desktop-database "$donnees/applications"
    base update-mime-database "$donnees/mime"
    base gtk-update-icon-cache -q -f -t "$donnees/icons/hicolor"
}

case "${1:-}" in
run)
    installe "${PAQUETS_BASE[@]}"
    construit build -DVALDORIN_TESTS=OFF
    exec build/shell/valdorin
    ;;
install)
    installe "${PAQUETS_BASE[@]}" "${PAQUETS_BUREAU[@]}"
    construit build -DVALDORIN_TESTS=OFF
    cmake --install build --prefix "$HOME/.local"
    met_a_jour_bureau
    ;;
uninstall)
    liste=build/install_manifest.txt
    if [ ! -f "$liste" ]; then
        echo "Rien à désinstaller : $liste, que ./build.sh install écrit, manque." >&2
        exit 1
    fi
    mapfile -t fichiers <"$liste"
    for f in "${fichiers[@]}"; do
        case $f in
        "$HOME/.local/"*) ;;
        *)
            echo "$liste nomme un fichier hors de $HOME/.local, qui reste : $f" >&2
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
    met_a_jour_bureau
    ;;
test)
    installe "${PAQUETS_BASE[@]}" "${PAQUETS_TEST[@]}"
    git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror
    construit build-test -DVALDORIN_WERROR=ON
    teste build-test
    ;;
test-sanitize)
    installe "${PAQUETS_BASE[@]}" "${PAQUETS_TEST[@]}"
    construit build-sanitize -DVALDORIN_WERROR=ON -DVALDORIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions="$PWD/.ci/lsan.supp" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        teste build-sanitize
    ;;
*)
    echo "usage: $0 run|install|uninstall|test|test-sanitize" >&2
    exit 2
    ;;
esac
