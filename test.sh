#!/usr/bin/env bash
# Installs what is missing, builds markedit with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs the whole test suite headless. Set MARKEDIT_SANITIZE=OFF for a plain build.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja \
  -DMARKEDIT_SANITIZE="${MARKEDIT_SANITIZE:-ON}" -DMARKEDIT_WERROR=ON -DMARKEDIT_TESTS=ON
cmake --build build --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
