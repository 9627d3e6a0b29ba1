# The help pages of one lesson, in script mode:
#
#   cmake -DTF_HELP_SOURCE_DIR=docs/help -DTF_HELP_WORK=DIR
#         [-DTF_LESSON_ROWS=ROWS.html] [-DTF_LESSON_CHARS=老师说汉语] -P cmake/lesson_help.cmake
#
# copies the pages into DIR with the lesson's places filled in. The sources mark
# them with comments, which never reach DIR:
#   <!-- lesson table --> (a line) the table's rows (a line) <!-- end lesson table -->
#       -> the rows mkdata --help-table wrote (ROWS.html)
#   <!-- lesson characters -->大 家 学 中 文<!-- end lesson characters -->
#       -> the five characters, blank-separated
#   <!-- lesson character N -->大<!-- end lesson character N -->   -> character N (1-5)
#   <!-- lesson strokes N -->3<!-- end lesson strokes N -->        -> its stroke count
#   <!-- default lesson -->...<!-- end default lesson -->          -> nothing: text that
#       holds only for 大家学中文 (its phrases)
# Without TF_LESSON_ROWS the marked text stays: the default lesson's pages.
# The characters come from the rows; TF_LESSON_CHARS, when given, must agree.
cmake_minimum_required(VERSION 3.20)

if(NOT TF_HELP_SOURCE_DIR OR NOT TF_HELP_WORK)
    message(FATAL_ERROR "lesson_help.cmake needs -DTF_HELP_SOURCE_DIR=... -DTF_HELP_WORK=...")
endif()

# Replaces in the variable named text_var each <begin>...<end> by replacement,
# or by the text between them when keep is true.
function(tf_fill_marked text_var begin end replacement keep)
    set(text "${${text_var}}")
    set(out "")
    string(LENGTH "${begin}" begin_length)
    string(LENGTH "${end}" end_length)
    while(TRUE)
        string(FIND "${text}" "${begin}" at)
        if(at EQUAL -1)
            break()
        endif()
        math(EXPR inner_at "${at} + ${begin_length}")
        string(SUBSTRING "${text}" 0 ${at} before)
        string(SUBSTRING "${text}" ${inner_at} -1 text)
        string(FIND "${text}" "${end}" inner_length)
        if(inner_length EQUAL -1)
            message(FATAL_ERROR "${begin} without ${end}")
        endif()
        string(SUBSTRING "${text}" 0 ${inner_length} inner)
        math(EXPR after_at "${inner_length} + ${end_length}")
        string(SUBSTRING "${text}" ${after_at} -1 text)
        if(keep)
            string(APPEND out "${before}${inner}")
        else()
            string(APPEND out "${before}${replacement}")
        endif()
    endwhile()
    set(${text_var} "${out}${text}" PARENT_SCOPE)
endfunction()

# The lesson: the characters and stroke counts of its rows.
set(keep ON)
if(TF_LESSON_ROWS)
    set(keep OFF)
    file(READ "${TF_LESSON_ROWS}" rows)
    # "大 3,家 10,..." (the meanings may hold semicolons, list separators here)
    string(REGEX REPLACE
        "<tr><td><font [^>]*>([^<]*)</font></td><td>[^<]*</td><td>[^<]*</td><td>([0-9]+)</td></tr>\n"
        "\\1 \\2," cells "${rows}")
    if(NOT cells MATCHES "^([^ ,<;]+ [0-9]+,)([^ ,<;]+ [0-9]+,)([^ ,<;]+ [0-9]+,)([^ ,<;]+ [0-9]+,)([^ ,<;]+ [0-9]+,)$")
        message(FATAL_ERROR "${TF_LESSON_ROWS} does not hold the 5 rows of a lesson table")
    endif()
    foreach(n 1 2 3 4 5)
        set(cell_${n} "${CMAKE_MATCH_${n}}")
    endforeach()
    set(characters "")
    foreach(n 1 2 3 4 5)
        string(REGEX REPLACE "^(.*) ([0-9]+),$" "\\1" character_${n} "${cell_${n}}")
        string(REGEX REPLACE "^(.*) ([0-9]+),$" "\\2" strokes_${n} "${cell_${n}}")
        string(APPEND characters "${character_${n}}")
    endforeach()
    if(TF_LESSON_CHARS AND NOT TF_LESSON_CHARS STREQUAL characters)
        message(FATAL_ERROR
            "the rows of ${TF_LESSON_ROWS} are for ${characters}, not ${TF_LESSON_CHARS}")
    endif()
    set(spaced "${character_1} ${character_2} ${character_3} ${character_4} ${character_5}")
elseif(TF_LESSON_CHARS)
    message(FATAL_ERROR "TF_LESSON_CHARS needs TF_LESSON_ROWS (the table rows of the lesson)")
endif()

file(MAKE_DIRECTORY "${TF_HELP_WORK}")
set(page_patterns *.html *.css *.png *.hhc *.hhk *.hhp)
set(old_patterns "")
set(new_patterns "")
foreach(pattern IN LISTS page_patterns)
    list(APPEND old_patterns "${TF_HELP_WORK}/${pattern}")
    list(APPEND new_patterns "${TF_HELP_SOURCE_DIR}/${pattern}")
endforeach()
file(GLOB old_pages ${old_patterns})
if(old_pages)
    file(REMOVE ${old_pages})
endif()
file(GLOB pages ${new_patterns})
foreach(page IN LISTS pages)
    get_filename_component(name "${page}" NAME)
    if(NOT name MATCHES "\\.(html|hhc|hhk)$")
        file(COPY_FILE "${page}" "${TF_HELP_WORK}/${name}")
        continue()
    endif()
    file(READ "${page}" text)
    tf_fill_marked(text "<!-- lesson table -->\n" "<!-- end lesson table -->\n" "${rows}" ${keep})
    tf_fill_marked(text "<!-- lesson characters -->" "<!-- end lesson characters -->"
        "${spaced}" ${keep})
    foreach(n 1 2 3 4 5)
        tf_fill_marked(text "<!-- lesson character ${n} -->" "<!-- end lesson character ${n} -->"
            "${character_${n}}" ${keep})
        tf_fill_marked(text "<!-- lesson strokes ${n} -->" "<!-- end lesson strokes ${n} -->"
            "${strokes_${n}}" ${keep})
    endforeach()
    tf_fill_marked(text "<!-- default lesson -->" "<!-- end default lesson -->" "" ${keep})
    file(WRITE "${TF_HELP_WORK}/${name}" "${text}")
endforeach()
