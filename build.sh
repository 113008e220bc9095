#!/usr/bin/env bash
# Installs what is missing, builds, and runs the application or the tests.
#   ./build.sh run            build and start the application
#   ./build.sh test           build and run every test (with -Werror)
#   ./build.sh test-sanitize  same, built with AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")"

PAQUETS_BASE=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgtest-dev fonts-dejavu-core
    ca-certificates)
PAQUETS_TEST=(libbenchmark-dev clang-format ghostscript poppler-utils qpdf libtiff-tools zbar-tools epstool
    python3 python3-fonttools fonts-ocr-b fonts-urw-base35 xvfb openbox qt6-image-formats-plugins
    exfatprogs exfat-fuse libreoffice-calc-nogui dbus-daemon xdotool x11-utils)

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

case "${1:-}" in
run)
    installe "${PAQUETS_BASE[@]}"
    construit build -DVALDORIN_TESTS=OFF
    exec build/shell/valdorin
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
    echo "usage: $0 run|test|test-sanitize" >&2
    exit 2
    ;;
esac
