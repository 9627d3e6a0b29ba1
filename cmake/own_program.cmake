# What the program of a lesson of one's own (cmake/lesson/) or of a course
# (cmake/course/) takes from the built tree, and the icons it draws of its own.

# tf_copy_shared_data(<out var>): the font, the notices and the speaker picture
# of the built tree's run folder, copied into the program's run folder; not its
# lesson files nor the outline notice, which names its characters. <out var>
# gets the copies.
function(tf_copy_shared_data out)
    file(GLOB shared_data ${TF_RUN_DIR}/dat/*)
    list(FILTER shared_data EXCLUDE REGEX "/(zw(-[0-9]+)?\\.dat|LICENSE\\.hanzi-writer-data)$")
    set(outputs "")
    foreach(file ${shared_data} ${TF_RUN_DIR}/speaker1.bmp)
        file(RELATIVE_PATH name ${TF_RUN_DIR} ${file})
        add_custom_command(OUTPUT ${TALLOWFERN_RUN_DIR}/${name}
            COMMAND ${CMAKE_COMMAND} -E copy ${file} ${TALLOWFERN_RUN_DIR}/${name}
            DEPENDS ${file}
            VERBATIM)
        list(APPEND outputs ${TALLOWFERN_RUN_DIR}/${name})
    endforeach()
    set(${out} ${outputs} PARENT_SCOPE)
endfunction()

# tf_own_icons(<characters> <what> <driver target> [DEPENDS ...]): the icons, the
# first of <characters> drawn on the program icon's tile as 大 is there, from
# the stroke data the builder reads; sets TALLOWFERN_ICON_PNG,
# TALLOWFERN_ICON_THEME_DIR and TALLOWFERN_ICON_SVG for the install rules. The
# 32 x 32 icon is the window and About box icon of tallowfern and of the driver
# when there is one, linked in place of the default's.
function(tf_own_icons characters what driver)
    cmake_parse_arguments(I "" "" "DEPENDS" ${ARGN})
    list(FIND TF_MKDATA_ARGUMENTS --node-modules at)
    math(EXPR at "${at} + 1")
    list(GET TF_MKDATA_ARGUMENTS ${at} node_modules)
    set(icon_dir ${CMAKE_BINARY_DIR}/icons)
    set(png ${icon_dir}/32x32/apps/tallowfern.png)
    set(svg ${icon_dir}/tallowfern.svg)
    set(icon_tile ${TF_SOURCE_DIR}/app/resources/tallowfern.svg)
    add_custom_command(OUTPUT ${svg} ${png} ${icon_dir}/128x128/apps/tallowfern.png
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${TF_MKPICTURES} --lesson-icon
            ${icon_tile} ${node_modules}/hanzi-writer-data ${characters} ${icon_dir}
        DEPENDS ${TF_MKPICTURES} ${icon_tile} ${node_modules}/.package-lock.json ${I_DEPENDS}
        COMMENT "Drawing the icons of ${what}"
        VERBATIM)
    set(icon_source ${CMAKE_BINARY_DIR}/generated/program_icon.cpp)
    add_custom_command(OUTPUT ${icon_source}
        COMMAND ${CMAKE_COMMAND} -DPNG=${png} -DOUT=${icon_source}
            -P ${TF_SOURCE_DIR}/cmake/embed_icon.cmake
        DEPENDS ${png} ${TF_SOURCE_DIR}/cmake/embed_icon.cmake
        VERBATIM)
    target_sources(tallowfern PRIVATE ${icon_source})
    if(TARGET ${driver})
        target_sources(${driver} PRIVATE ${icon_source})
    endif()
    set(TALLOWFERN_ICON_PNG ${png} PARENT_SCOPE)
    set(TALLOWFERN_ICON_THEME_DIR ${icon_dir} PARENT_SCOPE)
    set(TALLOWFERN_ICON_SVG ${svg} PARENT_SCOPE)
endfunction()
