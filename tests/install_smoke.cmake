# Installs the build into a fresh prefix and runs the installed programs
# from another folder, so that they find their data under share/kolvane.
# cmake -DBUILD_DIR=... -DPREFIX=... -DGUI=ON|OFF -P install_smoke.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(rc)
    message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(expected bin/kolvane-cli share/kolvane/PropLib.db share/kolvane/Piples.db
    share/kolvane/examples/hot-water-storage-tank.kvp share/kolvane/examples/steam-coil-reactor.kvt)
if(GUI)
    list(APPEND expected bin/kolvane lib/kolvane/libkolvane-pdf.so share/kolvane/Manual.pdf
         share/applications/kolvane.desktop share/icons/hicolor/scalable/apps/kolvane.svg)
endif()
foreach(f IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${f}")
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()

# No user copies of the data: what is read is what was installed.
set(home "${PREFIX}/home")
file(MAKE_DIRECTORY "${home}")
set(run "${CMAKE_COMMAND}" -E env "HOME=${home}" "XDG_DATA_HOME=${home}/data"
    "XDG_CONFIG_HOME=${home}/config" "XDG_RUNTIME_DIR=${home}" "KOLVANE_SETTINGS_DIR=${home}/settings")

# Runs an installed program from the home folder: it must succeed and print
# what matches `pattern`, else `what` is the failure.
function(expect_run what pattern)
    execute_process(COMMAND ${run} ${ARGN} WORKING_DIRECTORY "${home}" RESULT_VARIABLE rc
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(rc OR NOT out MATCHES "${pattern}")
        message(FATAL_ERROR "installed ${what} (${rc}): ${err}")
    endif()
endfunction()
set(cli "${PREFIX}/bin/kolvane-cli")
expect_run("kolvane-cli calc failed" "\"AtD\": *{[^}]*\"si\": *[0-9]" "${cli}" calc
           "${PREFIX}/share/kolvane/examples/hot-water-storage-tank.kvp" --json)
expect_run("kolvane-cli finds no pipe series" "\"Do\"" "${cli}" refdata --json)
expect_run("kolvane-cli finds no property library" "." "${cli}" prop --list)

if(GUI)
    # The PDF module is found in lib/kolvane of the installation.
    expect_run("kolvane-cli calc --report PDF failed" "." "${cli}" calc
               "${PREFIX}/share/kolvane/examples/hot-water-storage-tank.kvp" --report "${home}/r.pdf")
    if(EXISTS "${home}/r.pdf")
        file(READ "${home}/r.pdf" head LIMIT 8)
    endif()
    if(NOT head MATCHES "^%PDF-")
        message(FATAL_ERROR "installed kolvane-cli wrote no PDF report")
    endif()
    expect_run("kolvane --screenshot failed" "" QT_QPA_PLATFORM=offscreen "${PREFIX}/bin/kolvane"
               --screenshot "${home}/window.png")
    if(NOT EXISTS "${home}/window.png")
        message(FATAL_ERROR "installed kolvane --screenshot wrote no window.png")
    endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
