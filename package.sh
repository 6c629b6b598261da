#!/usr/bin/env bash
# Installs what is missing, builds the editor's Debian package from a Release build (build-package/)
# and installs it with apt-get, which also installs what it depends on:  ./package.sh
# PACKAGE_ONLY=1 builds the package without installing it. The package is left in build-package/.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DMARKEDIT_TESTS=OFF -DMARKEDIT_BENCH=OFF >/dev/null
cmake --build build-package --parallel "$(nproc)"
(cd build-package && cpack -G DEB)
deb=$(ls -t build-package/markedit_*.deb | head -1)
echo "package: $deb"
if [ "${PACKAGE_ONLY:-0}" != 1 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get install -y "./$deb"
fi
