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
PAQUETS_BUREAU=(desktop-file-utils shared-mime-info gtk-update-icon-cache xdg-utils)
PAQUETS_TEST=("${PAQUETS_BUREAU[@]}" libglib2.0-bin libbenchmark-dev clang-format ghostscript poppler-utils
    qpdf libtiff-tools zbar-tools epstool python3 python3-fonttools fonts-ocr-b fonts-urw-base35 xvfb openbox
    qt6-image-formats-plugins exfatprogs exfat-fuse libreoffice-calc-nogui dbus-daemon xdotool x11-utils kde-cli-tools)

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

# The C++ sources, NUL-separated: the checkout's, or those on disk outside the
# build folders where there is no checkout of this tree (a source archive).
sources() {
    if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
        git ls-files -z '*.cpp' '*.h'
    else
        find . \( -path './.*' -o -path './build*' -o \( -type d -exec test -e '{}/CMakeCache.txt' \; \) \) \
            -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0
    fi
}

teste() { # build-dir
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j "$(nproc)"
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
    desktop/bureau.sh installe build
    ;;
uninstall)
    desktop/bureau.sh desinstalle build
    ;;
test)
    installe "${PAQUETS_BASE[@]}" "${PAQUETS_TEST[@]}"
    sources | xargs -0 -r clang-format --dry-run --Werror
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
