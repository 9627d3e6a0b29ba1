# The help file: the pages in docs/help compiled by chmcmd (fp-utils) into
# ${TALLOWFERN_RUN_DIR}/tallowfern.chm, beside the program.

set(TF_HELP_SOURCE_DIR ${CMAKE_SOURCE_DIR}/docs/help)
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
add_executable(tf_chm_clear_stamps ${CMAKE_SOURCE_DIR}/cmake/chm_clear_stamps.cpp)
set_target_properties(tf_chm_clear_stamps PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TF_HELP_WORK_DIR})

# chmcmd reads the pages beside the project file and writes the .chm into
# its working directory.
add_custom_command(
    OUTPUT ${TALLOWFERN_HELP_FILE}
    COMMAND ${CMAKE_COMMAND} -E rm -f tallowfern.chm
    COMMAND ${TALLOWFERN_CHMCMD} --verbosity 0 ${TF_HELP_SOURCE_DIR}/tallowfern.hhp
    COMMAND tf_chm_clear_stamps tallowfern.chm
    COMMAND ${CMAKE_COMMAND} -E copy tallowfern.chm ${TALLOWFERN_HELP_FILE}
    WORKING_DIRECTORY ${TF_HELP_WORK_DIR}
    DEPENDS ${TF_HELP_SOURCES} tf_chm_clear_stamps
    COMMENT "Compiling the help file tallowfern.chm"
    VERBATIM)

add_custom_target(tallowfern_help ALL DEPENDS ${TALLOWFERN_HELP_FILE})
