# Dependencies point one way. Each folder below may include only the folders its row names (and
# itself); a quoted include of another folder fails the test with the file, the line and the rule.
# Folders without a row (plugin/, tests/, bench/, tools/) may include everything.
#
#   model            the instrument's data: bytes, tables, texts
#   settings         the plug-in's own files, over the model
#   midi             the controller state and the wire, over the model and the settings files
#   library          the program library and its files, over the model
#   standin          the test instrument, over the controller
#   ui/look .. main  the editor, from plain widgets up to the main component
cmake_minimum_required(VERSION 3.22)

set(layers
    "model:model"
    "settings:model settings"
    "midi:model settings midi"
    "library:model library"
    "standin:model settings midi standin"
    "ui/look:model settings midi library plugin ui/look"
    "ui/controls:model settings midi library plugin ui/look ui/controls"
    "ui/keyboard:model settings midi library plugin ui/look ui/controls ui/keyboard"
    "ui/editor:model settings midi library plugin ui/look ui/controls ui/keyboard ui/editor"
    "ui/setup:model settings midi library plugin ui/look ui/controls ui/setup"
    "ui/library:model settings midi library plugin ui/look ui/controls ui/keyboard ui/library"
    "ui/main:model settings midi library plugin ui/look ui/controls ui/keyboard ui/editor ui/setup ui/library ui/main")
# Headers the build generates (the embedded data), by the folder that may use them.
set(generated "model:OstrelData.h" "ui/look:OstrelSkins.h")

# The folder a path belongs to: the subfolder for ui/, the top folder otherwise.
function(layer_of path out)
    if(path MATCHES "^ui/([^/]+)/")
        set(${out} "ui/${CMAKE_MATCH_1}" PARENT_SCOPE)
    elseif(path MATCHES "^([^/]+)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

set(faults "")
set(checked 0)
foreach(rule IN LISTS layers)
    string(REPLACE ":" ";" parts "${rule}")
    list(GET parts 0 layer)
    list(GET parts 1 allowed_text)
    string(REPLACE " " ";" allowed "${allowed_text}")
    set(own_generated "")
    foreach(entry IN LISTS generated)
        if(entry MATCHES "^${layer}:(.*)$")
            list(APPEND own_generated "${CMAKE_MATCH_1}")
        endif()
    endforeach()

    file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
    if(NOT sources)
        list(APPEND faults "${layer}/: the folder is missing or empty")
    endif()
    foreach(source IN LISTS sources)
        math(EXPR checked "${checked} + 1")
        file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" target "${line}")
            layer_of("${target}" target_layer)
            if(target_layer STREQUAL "")
                if(NOT target IN_LIST own_generated)
                    list(APPEND faults "${source}: \"${target}\" names no folder: include it by its path from the root")
                endif()
            elseif(NOT target_layer IN_LIST allowed)
                list(APPEND faults "${source}: \"${target}\" runs against the layers (${layer} may include only: ${allowed_text})")
            endif()
        endforeach()
    endforeach()
endforeach()

# Nothing of the editor stays loose in ui/: every file lives in the folder of its part of the screen.
file(GLOB loose RELATIVE "${ROOT}" "${ROOT}/ui/*.h" "${ROOT}/ui/*.cpp")
foreach(source IN LISTS loose)
    list(APPEND faults "${source}: belongs in one of the folders of ui/")
endforeach()

if(faults)
    list(JOIN faults "\n  " report)
    message(FATAL_ERROR "includes against the layers:\n  ${report}")
endif()
message(STATUS "${checked} files follow the layers")
