# Reads what mkdata --help-table wrote for a lesson (included by the scripts
# that write a lesson's texts, lesson_help.cmake and lesson_texts.cmake):
#   <tr><td><font ...>春</font></td><td>chun1 (chūn)</td><td>spring (season); gay</td><td>9</td></tr>
#       five, one a lesson character
#   <tr class="phrase"><td>春天</td><td>chun1 tian1</td><td>spring (season)</td></tr>
#       the first character's first phrases, none or more
#
# tf_read_lesson_rows(<file>) sets in the caller, for n = 1..5:
#   rows            the five table rows, as the file has them
#   characters      the five characters together; spaced: blank-separated
#   character_<n> pinyin_<n> (numbered) marked_<n> (tone marks) meaning_<n>
#       (HTML-escaped, "; " between senses) strokes_<n>
#   phrase_count, and for p = 1..phrase_count phrase_<p> phrase_pinyin_<p>
#       phrase_meaning_<p> (HTML-escaped)
# Meanings may hold semicolons: the values are strings, never lists.
# (file(STRINGS) keeps a line whole, its semicolons escaped.)
function(tf_read_lesson_rows file)
    file(STRINGS "${file}" lines ENCODING UTF-8)
    set(cell "([^<]*)")
    set(row_pattern "^<tr><td><font [^>]*>${cell}</font></td><td>([^ <]+) \\(${cell}\\)</td>")
    string(APPEND row_pattern "<td>${cell}</td><td>([0-9]+)</td></tr>$")
    set(phrase_pattern "^<tr class=\"phrase\"><td>${cell}</td><td>${cell}</td><td>${cell}</td></tr>$")
    set(rows "")
    set(n 0)
    set(p 0)
    foreach(line IN LISTS lines)
        if(line MATCHES "${row_pattern}" AND p EQUAL 0)
            math(EXPR n "${n} + 1")
            string(APPEND rows "${line}\n")
            set(k 1)
            foreach(name character pinyin marked meaning strokes)
                set(${name}_${n} "${CMAKE_MATCH_${k}}" PARENT_SCOPE)
                set(${name}_${n} "${CMAKE_MATCH_${k}}")
                math(EXPR k "${k} + 1")
            endforeach()
        elseif(line MATCHES "${phrase_pattern}" AND n EQUAL 5)
            math(EXPR p "${p} + 1")
            set(phrase_${p} "${CMAKE_MATCH_1}" PARENT_SCOPE)
            set(phrase_pinyin_${p} "${CMAKE_MATCH_2}" PARENT_SCOPE)
            set(phrase_meaning_${p} "${CMAKE_MATCH_3}" PARENT_SCOPE)
        else()
            message(FATAL_ERROR "${file} does not hold the 5 rows of a lesson table "
                "and then its phrases: \"${line}\"")
        endif()
    endforeach()
    if(NOT n EQUAL 5)
        message(FATAL_ERROR "${file} does not hold the 5 rows of a lesson table")
    endif()
    set(rows "${rows}" PARENT_SCOPE)
    set(phrase_count ${p} PARENT_SCOPE)
    set(characters "${character_1}${character_2}${character_3}${character_4}${character_5}"
        PARENT_SCOPE)
    set(spaced "${character_1} ${character_2} ${character_3} ${character_4} ${character_5}"
        PARENT_SCOPE)
endfunction()
