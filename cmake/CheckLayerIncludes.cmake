# Fails when a file includes from a layer above its own. Every layer's include path is the source root,
# so the compiler cannot stop an upward include; this check, run as a test, does.
#   cmake -DSOURCE_DIR=<source root> -P cmake/CheckLayerIncludes.cmake
# The order below is the layering of ARCHITECTURE.md: a cad/ layer includes from platform and the cad/
# layers before it; quelto/baselib and quelto/filter from platform only; the other module folders from
# platform, the host interface (cad/) and the module folders before them, never the database's loading
# internals.
cmake_minimum_required(VERSION 3.25)

set(cad_layers cad/ge cad/dxf cad/db cad/ed cad/app cad/gui)
set(module_layers quelto/baselib quelto/filter quelto/actions quelto/customentity quelto/catalogue
                  quelto/matching quelto/ui quelto/host)
set(loading_internals cad/db/object_io.h cad/db/object_parser.h cad/db/entity_section_split.h
                      cad/db/dxf_read_options.h cad/dxf/entity_boundaries.h)

# The layers of `order` up to and with `layer`.
function(layers_up_to layer order result)
    set(taken "")
    foreach(candidate ${order})
        list(APPEND taken ${candidate})
        if(candidate STREQUAL layer)
            break()
        endif()
    endforeach()
    set(${result} ${taken} PARENT_SCOPE)
endfunction()

function(allowed_layers layer result)
    if(layer STREQUAL "platform")
        set(allowed "")
    elseif(layer MATCHES "^cad/")
        layers_up_to(${layer} "${cad_layers}" allowed)
    elseif(layer STREQUAL "quelto/baselib" OR layer STREQUAL "quelto/filter")
        set(allowed ${layer})
    else()
        layers_up_to(${layer} "${module_layers}" allowed)
        list(APPEND allowed ${cad_layers})
    endif()
    set(${result} platform ${allowed} PARENT_SCOPE)
endfunction()

set(problems "")
foreach(layer platform ${cad_layers} ${module_layers})
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${layer})
        continue()
    endif()
    allowed_layers(${layer} allowed)
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(file ${files})
        # The host program's entry starts the console or the desktop window: it stands above every layer.
        if(file MATCHES "^cad/app/program/")
            continue()
        endif()
        file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/[^\"]+\"")
        foreach(line ${includes})
            string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" included "${line}")
            string(REGEX MATCH "^(platform|cad/[a-z]+|quelto/[a-z]+)/" prefix "${included}")
            if(NOT prefix)
                continue()
            endif()
            string(REGEX REPLACE "/$" "" included_layer "${prefix}")
            if(NOT included_layer IN_LIST allowed)
                string(APPEND problems "${file}: includes ${included}, from ${included_layer} above ${layer}\n")
            elseif(layer MATCHES "^quelto/" AND included IN_LIST loading_internals)
                string(APPEND problems "${file}: includes ${included}, the database's loading internals\n")
            endif()
        endforeach()
    endforeach()
endforeach()

if(problems)
    message(FATAL_ERROR "includes against the layering:\n${problems}")
endif()
message(STATUS "layer includes: ok")
