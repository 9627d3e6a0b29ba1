# cmake/lesson_help.cmake on a one-page folder (lesson_help/): the default
# lesson's page without the marks, 春夏秋冬天's page filled in, and a refusal
# of rows that are another lesson's.
#   cmake -DSOURCE_DIR=<repo> -DWORK=<dir> -P check_lesson_help.cmake
set(case ${SOURCE_DIR}/tests/install/lesson_help)
set(script ${SOURCE_DIR}/cmake/lesson_help.cmake)
file(REMOVE_RECURSE ${WORK})

execute_process(COMMAND ${CMAKE_COMMAND} -DTF_HELP_SOURCE_DIR=${case}/pages
    -DTF_HELP_WORK=${WORK}/default -P ${script} RESULT_VARIABLE failed)
execute_process(COMMAND ${CMAKE_COMMAND} -DTF_HELP_SOURCE_DIR=${case}/pages
    -DTF_HELP_WORK=${WORK}/lesson -DTF_LESSON_ROWS=${case}/rows.html
    -DTF_LESSON_CHARS=春夏秋冬天 -DTF_LESSON_COMMAND=tallowfern-chun1-xia4 -P ${script} RESULT_VARIABLE failed_lesson)
execute_process(COMMAND ${CMAKE_COMMAND} -DTF_HELP_SOURCE_DIR=${case}/pages
    -DTF_HELP_WORK=${WORK}/other -DTF_LESSON_ROWS=${case}/rows.html
    -DTF_LESSON_CHARS=老师说汉语 -P ${script} RESULT_VARIABLE refused ERROR_VARIABLE refusal)

set(failures "")
foreach(c default lesson)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${case}/${c}.html
        ${WORK}/${c}/page.html RESULT_VARIABLE differs)
    if(differs)
        list(APPEND failures "${c}: page.html is not ${c}.html")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${case}/pages/help.css
        ${WORK}/${c}/help.css RESULT_VARIABLE differs)
    if(differs)
        list(APPEND failures "${c}: help.css is not copied as it is")
    endif()
endforeach()
if(failed OR failed_lesson)
    list(APPEND failures "the script failed")
endif()
if(NOT refused OR NOT refusal MATCHES "春夏秋冬天,[ \n]+not[ \n]+老师说汉语")
    list(APPEND failures "rows of another lesson are not refused")
endif()
if(failures)
    message(FATAL_ERROR "${failures}")
endif()
message("lesson help pages OK")
