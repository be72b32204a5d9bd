#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it; arguments go to
# the program (a project file to open, --screenshot FILE --page N).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The PDF module (kolvane-cli --report X.pdf) and the manual (帮助文档) too.
cmake --build build --target kolvane kolvane-cli kolvane_pdf proplib_db piples_db manual_pdf
# Without arguments the window opens an example project.
if (($# == 0)); then set -- examples/hot-water-storage-tank.kvp; fi
exec ./build/src/app/kolvane "$@"
