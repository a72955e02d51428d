#!/usr/bin/env bash
# Installs the Debian 12 packages Calvenor needs to build and test, and nothing else.
# Installing needs root: run as root, or have sudo.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core)
# The window's icon is an SVG (Qt's SVG plugin); the install test checks the desktop
# entry and the AppStream data with these validators.
packages+=(libqt6svg6 desktop-file-utils appstream)
# Qt's own texts (key names, standard buttons and dialogs) in the language in use.
packages+=(qt6-translations-l10n)
# The Debian package (tools/package.sh, and the test that unpacks it): dpkg-shlibdeps
# and the file type check CPack uses to find the program's libraries.
packages+=(dpkg-dev file)
case "${1:-}" in
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --lintian) packages+=(lintian) ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
