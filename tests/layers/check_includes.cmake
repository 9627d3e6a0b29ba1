# Fails when a source file includes a header of a layer above its own, or of
# another folder of its own layer, or when data/ or glyph/ includes Qt.
#   cmake -DSOURCE_DIR=<tree> -P check_includes.cmake
# Layers, bottom first: data/ and app/runtime/ (0), glyph/ (1), lesson/ (2),
# phrase/ (3), app/ (4).
if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR not set")
endif()

set(rank_data 0)
set(rank_app/runtime 0)
set(rank_glyph 1)
set(rank_lesson 2)
set(rank_phrase 3)
set(rank_app 4)

# The layer folder of a path relative to the tree ("" when it is in none).
function(layer_of path out)
    if(path MATCHES "^app/runtime/")
        set(${out} app/runtime PARENT_SCOPE)
    elseif(path MATCHES "^(app|data|glyph|lesson|phrase)/")
        set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

set(faults "")
set(checked 0)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/data/*.h ${SOURCE_DIR}/data/*.cpp
    ${SOURCE_DIR}/glyph/*.h ${SOURCE_DIR}/glyph/*.cpp ${SOURCE_DIR}/lesson/*.h
    ${SOURCE_DIR}/lesson/*.cpp ${SOURCE_DIR}/phrase/*.h ${SOURCE_DIR}/phrase/*.cpp)
foreach(source ${sources})
    layer_of(${source} own)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
        math(EXPR checked "${checked} + 1")
        if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
            if(own STREQUAL "data" OR own STREQUAL "glyph")
                list(APPEND faults "${source}: <${CMAKE_MATCH_1}> (Qt in ${own}/)")
            endif()
            continue()
        endif()
        if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
            continue()
        endif()
        set(header ${CMAKE_MATCH_1})
        layer_of(${header} target)
        if(target STREQUAL "" OR target STREQUAL own)
            continue()
        endif()
        if(NOT rank_${target} LESS rank_${own})
            list(APPEND faults "${source}: \"${header}\" (${own}/ may not use ${target}/)")
        endif()
    endforeach()
endforeach()

if(checked EQUAL 0)
    message(FATAL_ERROR "no includes found under ${SOURCE_DIR}")
endif()
if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "includes against the layers:\n  ${text}")
endif()
message(STATUS "${checked} includes, all downward")
