#!/usr/bin/env bash
# The core must not include Qt: it builds and tests without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
core_dirs=(src/engine src/records src/formula src/props src/refdata src/report src/cli)
if grep -rnE '#\s*include\s*[<"]Q' "${core_dirs[@]}"; then
    echo "layer rule broken: the core includes Qt headers (listed above)" >&2
    exit 1
fi
echo "layer rule: core includes no Qt header"
