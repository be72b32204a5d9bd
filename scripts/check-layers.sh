#!/usr/bin/env bash
# The layer rules the build does not check by itself.
#
# The build already refuses an include of a higher layer: each core layer is a
# library of its own whose headers come through an include root holding only
# its folders (src/CMakeLists.txt). What it cannot see is checked here: the
# direction between folders of one layer or of layers linked transitively
# (engine may use formula/ but not files/ or props/), the core's freedom from
# Qt, and includes or include directories that would go around the roots.
set -euo pipefail
cd "$(dirname "$0")/.."

# Which folders a folder's files may include besides its own, from the bottom
# up. A folder missing here is an error, so that a new one gets its place.
declare -A may=(
    [model]=""
    [files]="model"
    [formula]="model"
    [props]="formula files model"
    [engine]="formula model"
    [records]="form engine formula files model"
    [refdata]="formula files model"
    [report]="form engine formula files model"
    [form]="records refdata report engine props formula files model"
    [cli]="form records refdata report engine props formula files model"
    [print]="form records refdata report engine formula files model"
    [gui]="print form records refdata report engine props formula files model"
    [app]="cli gui print form records refdata report engine props formula files model"
)
core=(model files formula props engine records refdata report form cli)

fail=0
for dir in src/*/; do
    folder=$(basename "$dir")
    if [[ ! -v may[$folder] ]]; then
        echo "layer rule broken: src/$folder has no place in the layer table of $0" >&2
        fail=1
        continue
    fi
    while IFS= read -r hit; do
        target=$(sed -E 's/.*#\s*include\s*"([a-z]+)\/.*/\1/' <<<"$hit")
        [[ $target == "$folder" ]] && continue
        if [[ " ${may[$folder]} " != *" $target "* ]]; then
            echo "$hit" >&2
            echo "layer rule broken: $folder/ may not include $target/ (above it or beside it)" >&2
            fail=1
        fi
    done < <(grep -rnE '#\s*include\s*"[a-z]+/' "$dir" || true)
done

# Inside kolvane_form the component model and the files it is stored in sit
# below the window: they never include TFormKolvane or its handler classes.
window='#\s*include\s*"form/(FormKolvane|ProjectCommands|Recalculation|Pickers|ReportCommands|SimpProps)\.h"'
below_window=(src/form/{Form,Component,Controls,EditD,ComboBoxU,ListControls,Colors,UiServices,Solver,CalculationError}.*
              src/records src/refdata)
if grep -rnE "$window" "${below_window[@]}"; then
    echo "layer rule broken: the component model or the record files include the window (listed above)" >&2
    fail=1
fi

# An include by a relative or absolute path goes around the include roots.
if grep -rnE '#\s*include\s*"(\.\.|/)' src; then
    echo "layer rule broken: include by a relative or absolute path (listed above)" >&2
    fail=1
fi
# Include directories come only from kolvane_include_root (or are a layer's
# roots taken over without its library: the PDF module's), never src/ whole.
if grep -rn 'include_directories' src --include=CMakeLists.txt |
    grep -v 'target_include_directories(${target} PUBLIC ${root})' |
    grep -v 'INTERFACE_INCLUDE_DIRECTORIES>)'; then
    echo "layer rule broken: an include directory besides the layers' roots (listed above)" >&2
    fail=1
fi
# The core builds and tests without a display.
if grep -rnE '#\s*include\s*[<"]Q' "${core[@]/#/src/}"; then
    echo "layer rule broken: the core includes Qt headers (listed above)" >&2
    fail=1
fi
if grep -nE 'Qt6::' src/{model,files,formula,props,engine,form,records,refdata,report,cli}/CMakeLists.txt; then
    echo "layer rule broken: a core library links Qt (listed above)" >&2
    fail=1
fi
((fail)) && exit 1
echo "layer rule: includes follow the layer table; the core includes and links no Qt"
