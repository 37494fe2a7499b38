#!/usr/bin/env bash
# Installs what is missing, builds and starts the desktop program on its default data directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/moque "$@"
