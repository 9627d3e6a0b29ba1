# The help file: the pages in docs/help compiled by chmcmd (fp-utils) into
# ${TALLOWFERN_RUN_DIR}/tallowfern.chm, beside the program (for a course, the
# help file of its first lesson).
#
# The pages mark the lesson's places with comments; cmake/lesson_help.cmake
# copies them into a pages folder, filled in for a lesson or (the default
# lesson) as they are, without the comments. Then chmcmd compiles that folder.

set(TF_HELP_SOURCE_DIR ${TF_SOURCE_DIR}/docs/help)
set(TF_HELP_WORK_DIR ${CMAKE_BINARY_DIR}/help)
set(TALLOWFERN_HELP_FILE ${TALLOWFERN_RUN_DIR}/tallowfern.chm)
file(MAKE_DIRECTORY ${TF_HELP_WORK_DIR})

find_program(TALLOWFERN_CHMCMD chmcmd DOC "CHM compiler from fp-utils")
if(NOT TALLOWFERN_CHMCMD)
    message(WARNING "chmcmd not found (Debian package fp-utils): tallowfern.chm is not built")
    return()
endif()

file(GLOB TF_HELP_SOURCES CONFIGURE_DEPENDS
    ${TF_HELP_SOURCE_DIR}/*.html ${TF_HELP_SOURCE_DIR}/*.css ${TF_HELP_SOURCE_DIR}/*.png
    ${TF_HELP_SOURCE_DIR}/*.hhc ${TF_HELP_SOURCE_DIR}/*.hhk ${TF_HELP_SOURCE_DIR}/*.hhp)

# Clears the compile timestamps, so that the same pages give the same bytes.
add_executable(tf_chm_clear_stamps ${TF_SOURCE_DIR}/cmake/chm_clear_stamps.cpp)
set_target_properties(tf_chm_clear_stamps PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TF_HELP_WORK_DIR})

# tf_help_pages(STAMP <var> PAGES_DIR <dir> [ROWS <file>] [CHARACTERS <text>]
#               [LESSON_COMMAND <command>] [DEPENDS ...])
# Writes the pages of docs/help into <dir>: with ROWS (mkdata --help-table) those
# of that lesson, installed as LESSON_COMMAND, else the default lesson's. <var>
# is set to the stamp file the help depends on.
function(tf_help_pages)
    cmake_parse_arguments(P "" "STAMP;PAGES_DIR;ROWS;CHARACTERS;LESSON_COMMAND" "DEPENDS" ${ARGN})
    set(stamp ${P_PAGES_DIR}.stamp)
    set(lesson_args "")
    if(P_ROWS)
        list(APPEND lesson_args -DTF_LESSON_ROWS=${P_ROWS})
    endif()
    if(P_CHARACTERS)
        list(APPEND lesson_args -DTF_LESSON_CHARS=${P_CHARACTERS})
    endif()
    if(P_LESSON_COMMAND)
        list(APPEND lesson_args -DTF_LESSON_COMMAND=${P_LESSON_COMMAND})
    endif()
    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DTF_HELP_SOURCE_DIR=${TF_HELP_SOURCE_DIR}
            -DTF_HELP_WORK=${P_PAGES_DIR} ${lesson_args}
            -P ${TF_SOURCE_DIR}/cmake/lesson_help.cmake
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${TF_HELP_SOURCES} ${TF_SOURCE_DIR}/cmake/lesson_help.cmake
            ${TF_SOURCE_DIR}/cmake/lesson_rows.cmake ${P_ROWS}
            ${P_DEPENDS}
        COMMENT "Writing the help pages in ${P_PAGES_DIR}"
        VERBATIM)
    set(${P_STAMP} ${stamp} PARENT_SCOPE)
endfunction()

# tf_help(OUTPUT <file.chm> SOURCE_DIR <pages> WORK_DIR <dir> [DEPENDS ...])
# Compiles the pages folder (its tallowfern.hhp) into <file.chm>. chmcmd reads
# the pages beside the project file and writes the .chm into its working
# directory, <dir>.
function(tf_help)
    cmake_parse_arguments(H "" "OUTPUT;SOURCE_DIR;WORK_DIR" "DEPENDS" ${ARGN})
    file(MAKE_DIRECTORY ${H_WORK_DIR})
    add_custom_command(
        OUTPUT ${H_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E rm -f tallowfern.chm
        COMMAND ${TALLOWFERN_CHMCMD} --verbosity 0 ${H_SOURCE_DIR}/tallowfern.hhp
        COMMAND tf_chm_clear_stamps tallowfern.chm
        COMMAND ${CMAKE_COMMAND} -E copy tallowfern.chm ${H_OUTPUT}
        WORKING_DIRECTORY ${H_WORK_DIR}
        DEPENDS ${H_DEPENDS} tf_chm_clear_stamps
        COMMENT "Compiling the help file ${H_OUTPUT}"
        VERBATIM)
endfunction()

# The default lesson's pages, or with TF_HELP_ROWS, TF_HELP_CHARACTERS and
# TF_HELP_COMMAND set those of a lesson of one's own (cmake/lesson/). A course
# (cmake/course/) sets TF_HELP_COURSE and writes a help file a lesson itself
# with the functions above, then adds the target tallowfern_help.
if(TF_HELP_COURSE)
    return()
endif()
tf_help_pages(STAMP help_pages PAGES_DIR ${TF_HELP_WORK_DIR}/pages ROWS "${TF_HELP_ROWS}"
    CHARACTERS "${TF_HELP_CHARACTERS}" LESSON_COMMAND "${TF_HELP_COMMAND}")
tf_help(OUTPUT ${TALLOWFERN_HELP_FILE} SOURCE_DIR ${TF_HELP_WORK_DIR}/pages
    WORK_DIR ${TF_HELP_WORK_DIR} DEPENDS ${help_pages})
add_custom_target(tallowfern_help ALL DEPENDS ${TALLOWFERN_HELP_FILE})
