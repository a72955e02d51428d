#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once in a plain
# build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --workflow --preset test
cmake --workflow --preset sanitize
