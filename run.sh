#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it; arguments go to
# the program (a project file to open, --screenshot FILE --page N).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target kolvane kolvane-cli proplib_db piples_db
# Without arguments the window opens an example project.
if (($# == 0)); then set -- examples/hot-water-storage-tank.kvp; fi
exec ./build/src/app/kolvane "$@"
