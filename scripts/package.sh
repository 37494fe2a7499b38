#!/usr/bin/env bash
# Builds the Debian package, moque_<version>_<arch>.deb, into DIR (default build-package/):
#   scripts/package.sh [DIR]
# The programs are built in $BUILD_DIR (default build-package/) with Debian's hardening
# flags and stripped into the package; install it with `apt install ./DIR/moque_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-package}")
build=${BUILD_DIR:-build-package}
scripts/setup.sh

# Dates in the package (changelog, manual pages, AppStream release) are the last commit's,
# so the same source makes the same package.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null); then
    export SOURCE_DATE_EPOCH
fi
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOQUE_BUILD_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target moque moque-cli moque_packaging_files

# CPack leaves its staging folder beside the package: make it elsewhere and keep the package.
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$staging" >/dev/null
mkdir -p "$out"
for deb in "$staging"/*.deb; do
    mv "$deb" "$out/"
    echo "$out/$(basename "$deb")"
done
