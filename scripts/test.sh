#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Warnings stay warnings in a user's build; under CI (CI=true) or with
# VST_WERROR=1 they are errors, so this one build is also the warnings check.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
werror=OFF
if [ "${VST_WERROR:-0}" = 1 ] || [ "${CI:-}" = true ]; then
  werror=ON
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVST_WARNINGS_AS_ERRORS="$werror"
cmake --build build
ctest --test-dir build --output-on-failure -j2
