#!/usr/bin/env bash
# Checks that the includes follow the layers: ui -> render -> core and
# cli -> render -> core, never back; a window family under src/ui uses only
# ui/window, render and the core (the desktop in ui/window wires the families).
#
#   tools/check_layers.sh SRC_DIR [QTWIDGETS_INCLUDE_DIR]
#
# With the folder of the QtWidgets headers, a widget header included in
# src/render is found by its name too (<QWidget>, <QLabel>, ...).
# Prints every include that breaks a rule and exits 1; exits 0 when none does.
set -uo pipefail

src=${1:?usage: check_layers.sh SRC_DIR [QTWIDGETS_INCLUDE_DIR]}
widgets_dir=${2:-}
cd "$src" || exit 2

declare -A widget_header=()
if [ -n "$widgets_dir" ] && [ -d "$widgets_dir" ]; then
    for h in "$widgets_dir"/Q*; do widget_header[${h##*/}]=1; done
fi

faults=0
fault() {
    echo "$1: $2"
    faults=$((faults + 1))
}

# file:line:include, for every #include of a source file below `folder`.
includes_of() {
    find "$1" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 |
        xargs -0 grep -Hn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' |
        sed -E 's/^([^:]+):([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*([<"][^>"]*[>"]).*/\1:\2:\3/'
}

check_core() {
    local where include
    while IFS= read -r line; do
        where=${line%:*}
        include=${line##*:}
        case $include in
            \<Q* | \<qt*) fault "$where" "the core includes Qt: $include" ;;
            \"ui/* | \"render/* | \"cli/* | \"app/*) fault "$where" "the core includes $include" ;;
        esac
    done < <(includes_of core)
}

check_render() {
    local where include name
    while IFS= read -r line; do
        where=${line%:*}
        include=${line##*:}
        name=${include:1:${#include}-2}
        case $include in
            \"ui/* | \"cli/* | \"app/*) fault "$where" "render includes $include" ;;
            \<QtWidgets* | \<QtPrintSupport*) fault "$where" "render includes widgets: $include" ;;
            \<Q*)
                if [ -n "${widget_header[$name]:-}" ]; then
                    fault "$where" "render includes widgets: $include"
                fi
                ;;
        esac
    done < <(includes_of render)
}

check_cli() {
    local where include
    while IFS= read -r line; do
        where=${line%:*}
        include=${line##*:}
        case $include in
            \"ui/* | \"app/*) fault "$where" "the command line includes $include" ;;
        esac
    done < <(includes_of cli)
}

# A family includes its own folder, ui/window and nothing else of ui/ (so the
# window base, a family of its own, includes no other); the desktop alone sees
# every family.
check_families() {
    local where file include family other
    while IFS= read -r line; do
        where=${line%:*}
        include=${line##*:}
        file=${where%%:*}
        family=${file#ui/}
        family=${family%%/*}
        case $include in
            \"ui/*/*)
                other=${include#\"ui/}
                other=${other%%/*}
                [ "$other" = "$family" ] && continue
                [ "$other" = window ] && continue
                case $file in ui/window/desktop.*) continue ;; esac
                fault "$where" "ui/$family includes another family: $include"
                ;;
            \"ui/*) fault "$where" "includes a window header outside the families: $include" ;;
            \"cli/* | \"app/*) fault "$where" "a window includes $include" ;;
        esac
    done < <(includes_of ui)
}

check_core
[ -d render ] && check_render
[ -d cli ] && check_cli
[ -d ui ] && check_families

if [ "$faults" -gt 0 ]; then
    echo "$faults include(s) break the layers"
    exit 1
fi
echo "the includes follow the layers"
