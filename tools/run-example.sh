#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on a copy of the sample
# wincmd.ini / wcx_ftp.ini pair, so the samples in examples/ stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
work=$(mktemp -d "${TMPDIR:-/tmp}/calvenor-example.XXXXXX")
cp examples/wincmd.ini examples/wcx_ftp.ini "$work/"
echo "Editing the copies in $work"
Commander_INI="$work/wincmd.ini" exec build/default/src/app/calvenor "$@"
