#!/usr/bin/env bash
# Installs what is missing, builds the program, and starts the editor on a copy of the
# sample wincmd.ini / wcx_ftp.ini pair, so the samples in examples/ stay as they are. The
# run gets a registry store of its own that points at the copies, the way a file manager
# installation would.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default >/dev/null
# The program only (its language files come with it): the tests are not needed to run it.
cmake --build --preset default --target calvenor
work=$(mktemp -d "${TMPDIR:-/tmp}/calvenor-example.XXXXXX")
cp examples/wincmd.ini examples/wcx_ftp.ini "$work/"
mkdir -p "$work/config/calvenor"
escaped=${work//\\/\\\\}
cat > "$work/config/calvenor/registry.reg" <<REG
WINE REGISTRY Version 2

[HKEY_CURRENT_USER\\\\Software\\\\Ghisler\\\\Total Commander]
"IniFileName"="$escaped/wincmd.ini"
"FtpIniName"="$escaped/wcx_ftp.ini"

[HKEY_CURRENT_USER\\\\Software\\\\VantrelEditors\\\\Common]
"IniFileName"="$escaped/config/vantrel editors.ini"
REG
echo "Editing the copies in $work"
XDG_CONFIG_HOME="$work/config" exec build/default/src/app/calvenor "$@"
