# The help pages of one lesson, in script mode:
#
#   cmake -DTF_HELP_SOURCE_DIR=docs/help -DTF_HELP_WORK=DIR [-DTF_LESSON_ROWS=ROWS.html]
#         [-DTF_LESSON_CHARS=老师说汉语] [-DTF_LESSON_COMMAND=tallowfern-lao-shi-...]
#         -P cmake/lesson_help.cmake
#
# copies the pages into DIR with the lesson's places filled in from ROWS.html
# (mkdata --help-table; lesson_rows.cmake reads it). The sources mark them with
# comments, which never reach DIR:
#   <!-- lesson table --> (a line) the table's rows (a line) <!-- end lesson table -->
#       -> the five rows
#   <!-- lesson characters -->大 家 学 中 文<!-- end lesson characters -->
#       -> the five characters, blank-separated
#   <!-- lesson character N -->大<!-- end lesson character N -->   -> character N (1-5)
#   <!-- lesson strokes N -->3<!-- end lesson strokes N -->        -> its stroke count
#   <!-- lesson pinyin N -->da4<!-- ... -->, <!-- lesson marked pinyin N -->dà<!-- ... -->
#       -> its reading, numbered and with the tone mark
#   <!-- lesson phrase N -->大家<!-- ... -->, lesson phrase pinyin N, lesson phrase meaning N
#       -> phrase N of the first character's list, its pinyin and first sense
#   <!-- lesson phrase syllables -->: <b>da4</b>, then <b>jia1</b><!-- ... -->
#       -> the syllables of phrase 1 so (nothing without a phrase)
#   <!-- lesson meaning -->big; large; great<!-- ... -->, lesson sense count (three),
#   lesson meaning character (大)
#       -> the first character whose meaning has several senses: its meaning, their
#          count in words, the character
#   <!-- lesson senses -->...<!-- ... -->, <!-- lesson phrases -->...<!-- ... -->
#       -> the text as it is, or nothing when the lesson has no such character
#          (senses) or fewer than two phrases (phrases)
#   <!-- lesson command -->tallowfern<!-- end lesson command -->   -> the command
# Without TF_LESSON_ROWS the marked text stays: the default lesson's pages, and
# without TF_LESSON_COMMAND the command's. TF_LESSON_CHARS, when given, must
# agree with the rows.
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

# The lesson: its rows and the examples drawn from them.
include("${CMAKE_CURRENT_LIST_DIR}/lesson_rows.cmake")
set(keep ON)
if(TF_LESSON_ROWS)
    set(keep OFF)
    tf_read_lesson_rows("${TF_LESSON_ROWS}")
    if(TF_LESSON_CHARS AND NOT TF_LESSON_CHARS STREQUAL characters)
        message(FATAL_ERROR
            "the rows of ${TF_LESSON_ROWS} are for ${characters}, not ${TF_LESSON_CHARS}")
    endif()
    # The meaning example: the first character with several senses.
    set(senses 0)
    foreach(n 5 4 3 2 1)
        string(REPLACE "; " "" joined "${meaning_${n}}")
        string(LENGTH "${meaning_${n}}" length)
        string(LENGTH "${joined}" joined_length)
        if(length GREATER joined_length)
            math(EXPR senses "(${length} - ${joined_length}) / 2 + 1")
            set(example ${n})
        endif()
    endforeach()
    set(number_words zero one two three four five six seven eight nine ten eleven twelve)
    if(senses GREATER 0 AND senses LESS 13)
        list(GET number_words ${senses} sense_count)
        set(meaning "${meaning_${example}}")
        set(meaning_character "${character_${example}}")
    endif()
    if(phrase_count GREATER 0)
        string(REPLACE " " "</b>, then <b>" syllables "${phrase_pinyin_1}")
        set(syllables ": <b>${syllables}</b>")
    endif()
elseif(TF_LESSON_CHARS)
    message(FATAL_ERROR "TF_LESSON_CHARS needs TF_LESSON_ROWS (the table rows of the lesson)")
endif()
# The installed command and its data folder share/<command>.
set(keep_command ON)
if(TF_LESSON_COMMAND)
    set(keep_command OFF)
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
    foreach(n 1 2 3 4 5)
        foreach(mark "character;character" "strokes;strokes" "pinyin;pinyin"
                "marked pinyin;marked" "phrase;phrase" "phrase pinyin;phrase_pinyin"
                "phrase meaning;phrase_meaning")
            list(GET mark 0 label)
            list(GET mark 1 value)
            tf_fill_marked(text "<!-- lesson ${label} ${n} -->" "<!-- end lesson ${label} ${n} -->"
                "${${value}_${n}}" ${keep})
        endforeach()
    endforeach()
    foreach(mark characters:spaced "meaning:meaning" "sense count:sense_count"
            "meaning character:meaning_character" "phrase syllables:syllables")
        string(REPLACE ":" ";" mark "${mark}")
        list(GET mark 0 label)
        list(GET mark 1 value)
        tf_fill_marked(text "<!-- lesson ${label} -->" "<!-- end lesson ${label} -->" "${${value}}"
            ${keep})
    endforeach()
    tf_fill_marked(text "<!-- lesson command -->" "<!-- end lesson command -->"
        "${TF_LESSON_COMMAND}" ${keep_command})
    # Text that needs what a lesson may lack: dropped then.
    foreach(mark "senses:sense_count" "phrases:phrase_2")
        string(REPLACE ":" ";" mark "${mark}")
        list(GET mark 0 label)
        list(GET mark 1 value)
        set(keep_text ${keep})
        if(NOT "${${value}}" STREQUAL "")
            set(keep_text ON)
        endif()
        tf_fill_marked(text "<!-- lesson ${label} -->" "<!-- end lesson ${label} -->" ""
            ${keep_text})
    endforeach()
    file(WRITE "${TF_HELP_WORK}/${name}" "${text}")
endforeach()
