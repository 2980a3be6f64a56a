#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is
# missing. Runs apt-get as root, or through sudo for another user.
#   tools/setup.sh [PACKAGE...] [--sqlite-source DIR]
# --sqlite-source puts SQLite's amalgamation (sqlite3.c, sqlite3.h) into DIR
# for a target that has no SQLite library of its own (the Windows build).
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
extra=()  # further packages a target asks for (for example clang, xvfb)
sqlite_dir=
while [ $# -gt 0 ]; do
    case $1 in
    --sqlite-source)
        sqlite_dir=${2:?--sqlite-source needs a folder}
        # A Node.js that is not Debian's brings its own npm.
        command -v npm >/dev/null || extra+=(npm)
        shift 2
        ;;
    *)
        extra+=("$1")
        shift
        ;;
    esac
done

# Debian packages SQLite for MinGW-w64 neither as a library nor as source (its
# other packages that bundle one strip it), so the amalgamation comes from the
# npm package better-sqlite3, which ships it unchanged but for two constants
# spelled out in its date functions. The tarball is checked against its
# published digest before anything is taken from it.
sqlite_package=better-sqlite3@12.11.1
sqlite_digest=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
fetch_sqlite_source() {
    [ -f "$sqlite_dir/sqlite3.c" ] && [ -f "$sqlite_dir/sqlite3.h" ] && return 0
    local work
    work=$(mktemp -d)
    trap 'rm -rf "$work"' RETURN
    echo "Fetching SQLite's source from the npm package $sqlite_package"
    (cd "$work" && npm pack --silent "$sqlite_package" >/dev/null)
    local tarball=("$work"/*.tgz)
    if ! echo "$sqlite_digest  ${tarball[0]}" | sha256sum --check --status; then
        echo "setup.sh: $sqlite_package does not match its digest; nothing taken" >&2
        return 1
    fi
    tar -xzf "${tarball[0]}" -C "$work" package/deps/sqlite3/sqlite3.c \
        package/deps/sqlite3/sqlite3.h
    mkdir -p "$sqlite_dir"
    mv "$work"/package/deps/sqlite3/sqlite3.[ch] "$sqlite_dir"/
}

missing=()
for p in "${packages[@]}" "${extra[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    [ -z "$sqlite_dir" ] || fetch_sqlite_source
    exit 0
fi

echo "Installing: ${missing[*]}"
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
if ! run apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    run apt-get update -q
    run apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
[ -z "$sqlite_dir" ] || fetch_sqlite_source
