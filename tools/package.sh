#!/usr/bin/env bash
# Builds the Debian package and prints its path (build/package/calvenor_<version>_<arch>.deb):
#   tools/package.sh           the package
#   tools/package.sh --check   also lintian (installed first) and the package's own checks,
#                              the program run from it unpacked
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
if [[ "${1:-}" == "--check" ]]; then
    check=true
    tools/install-deps.sh --lintian
else
    tools/install-deps.sh
fi

# Compiled as Debian compiles its packages: its optimisation and hardening flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset package \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build --preset package
rm -f build/package/calvenor_*.deb
(cd build/package && cpack -G DEB >/dev/null)
debs=(build/package/calvenor_*.deb)
deb=$(realpath "${debs[0]}")

if $check; then
    cmake -DDEB="$deb" -P build/package/CheckPackage.cmake
    # Errors fail; warnings and notes are shown.
    status=0
    report=$(lintian --fail-on error --display-info "$deb" 2>&1) || status=$?
    grep -v '^running with root privileges' <<<"$report" || true
    if [[ $status -ne 0 ]]; then
        echo "lintian: status $status" >&2
        exit 1
    fi
fi
echo "$deb"
