#!/bin/sh
# The install of a build, checked as a packager would:
#   check_install.sh files BUILD_DIR EXPECTED_LIST PROGRAM...
#     installs into a DESTDIR and compares every file with the expected list
#     (for the programs named, which are those the build makes);
#   check_install.sh desktop DESKTOP_FILE METAINFO_FILE
#     validates the menu entry and the AppStream metainfo;
#   check_install.sh manual MAN_PAGE PROGRAM
#     renders the page without a warning and finds in it every option the
#     program's --help lists and every exit status.
set -eu

files() {
    build=$1 expected=$2
    shift 2
    dest=$(mktemp -d)
    trap 'rm -rf "$dest"' EXIT
    DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$dest.log" 2>&1 ||
        { cat "$dest.log"; rm -f "$dest.log"; exit 1; }
    rm -f "$dest.log"
    (cd "$dest" && find . ! -type d | sed 's|^\.||' | sort) >"$dest/.installed"
    grep -v '^#' "$expected" | while read -r owner path; do
        if [ "$owner" = - ]; then echo "$path"; continue; fi
        for program in "$@"; do
            if [ "$program" = "$owner" ]; then echo "$path"; fi
        done
    done | sort >"$dest/.expected"
    sed -i '/^\/\.installed$/d;/^\/\.expected$/d' "$dest/.installed"
    if ! diff -u "$dest/.expected" "$dest/.installed"; then
        echo "the install differs from $expected (- expected, + installed)"
        exit 1
    fi
    for program in "$@"; do
        [ -x "$dest/usr/bin/$program" ] || { echo "/usr/bin/$program is not executable"; exit 1; }
    done
    # Each fixed icon size is a PNG of that size.
    for png in "$dest"/usr/share/icons/hicolor/*x*/apps/*.png; do
        [ -e "$png" ] || continue
        size=$(basename "$(dirname "$(dirname "$png")")")
        header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
        width=$(printf '%d' "0x$(echo "$header" | cut -c33-40)")
        height=$(printf '%d' "0x$(echo "$header" | cut -c41-48)")
        case "$header" in 89504e470d0a1a0a*) ;; *) echo "$png is no PNG"; exit 1 ;; esac
        [ "${width}x${height}" = "$size" ] || { echo "$png is ${width}x${height}"; exit 1; }
    done
    echo "installed as listed: $(wc -l <"$dest/.installed") files"
}

desktop() {
    desktop-file-validate "$1"
    appstreamcli validate --no-net "$2"
}

manual() {
    page=$1 program=$2
    warnings=$(groff -man -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || { echo "$warnings"; exit 1; }
    # In the page's source a dash of an option is written \-.
    source=$(sed 's/\\-/-/g' "$page")
    status=0
    for option in $("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        case "$source" in *"$option"*) ;; *) echo "$page lacks $option"; status=1 ;; esac
    done
    statuses=$(echo "$source" | sed -n '/^\.SH EXIT STATUS/,/^\.SH/p')
    for code in $("$program" --help | sed -n '/^Exit status:/,$p' | sed -n 's/^  \([0-9]\)  .*/\1/p'); do
        case "$statuses" in *".B $code"*) ;; *) echo "$page lacks exit status $code"; status=1 ;; esac
    done
    exit $status
}

mode=$1
shift
"$mode" "$@"
