#!/usr/bin/env bash
# The core must not include Qt: it builds and tests without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
core_dirs=(src/model src/engine src/records src/formula src/props src/refdata src/report src/cli)
if grep -rnE '#\s*include\s*[<"]Q' "${core_dirs[@]}"; then
    echo "layer rule broken: the core includes Qt headers (listed above)" >&2
    exit 1
fi
# The physics sits at the bottom: it knows nothing of the form or the files.
if grep -rnE '#\s*include\s*"(engine|records|formula|props|refdata|report|cli|gui)/' src/model; then
    echo "layer rule broken: the model includes the layers above it (listed above)" >&2
    exit 1
fi
echo "layer rule: core includes no Qt header; the model includes only itself"
