#!/usr/bin/env bash
# Renders the main window on copies of the sample files to a PNG, without a screen:
#   tools/screenshot.sh [out.png] [section]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshot.png}")
cmake --preset default >/dev/null
cmake --build --preset default --target calvenor_screenshot
work=$(mktemp -d "${TMPDIR:-/tmp}/calvenor-shot.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp examples/wincmd.ini examples/wcx_ftp.ini "$work/"
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
    build/default/calvenor_screenshot "$work/wincmd.ini" "$work/wcx_ftp.ini" "$out" ${2:+"$2"}
echo "$out"
