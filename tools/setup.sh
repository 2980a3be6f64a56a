#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is
# missing. Runs apt-get as root, or through sudo for another user.
set -euo pipefail

packages=(
    cmake g++ make
    qt6-base-dev qt6-image-formats-plugins
    qt6-svg-dev     # the analysis plot exported as SVG (QSvgGenerator)
    poppler-utils   # pdftotext: the tests read the labels back from an exported PDF
    libgtest-dev libgmock-dev libbenchmark-dev
    libsqlite3-dev  # the session files are SQLite databases
    fonts-ipafont-gothic
    python3  # the tests run the generated Python programs
    octave nodejs mono-mcs gfortran  # and the MATLAB, JavaScript, C# and Fortran ones
    clang-format clang-tidy jq  # make test checks the format and the functions' complexity
    desktop-file-utils appstream  # make test validates the menu entry and the metainfo
)
extra=("$@")  # further packages a target asks for (for example clang, xvfb)

missing=()
for p in "${packages[@]}" "${extra[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
if ! run apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    run apt-get update -q
    run apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
