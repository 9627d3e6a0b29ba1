# The texts a lesson of one's own or a course installs, in script mode, from
# what mkdata --help-table wrote for the lesson (read by lesson_rows.cmake):
#
#   cmake -DTF_SOURCE_DIR=<sources> -DTF_LESSON_ROWS=ROWS.html -DTF_NAME=tallowfern-<slug>
#         -DTF_PACKAGE=<package> -DTF_LESSON_ID=<id> -DTF_VERSION=<version> -DTF_OUT=DIR
#         -DTF_NOTICE=<file> -DTF_METAINFO=<file> -P cmake/lesson_texts.cmake
#
# or for a course, from what mkdata --course wrote (course_tsv.cmake reads it)
# in place of TF_LESSON_ROWS:
#
#   -DTF_COURSE=<course.tsv> -DTF_COURSE_ROWS=<folder of lesson-001.html, ...>
#
# writes, each from the default program's text with the lesson's (course's)
# name, command, data folder, characters and readings in their places:
#   DIR/<TF_NAME>.1   the manual page (packaging/tallowfern.1)
#   DIR/README.md     the note (packaging/lesson-README.md.in, course-README.md.in)
#   DIR/copyright     the Debian copyright file, with the data folder
#   TF_NOTICE         the outline notice (dat/LICENSE.hanzi-writer-data)
#   TF_METAINFO       the AppStream metadata, id example.tallowfern.TallowFern.lesson_<id>
#                     (course_<id>) (packaging/example.tallowfern.TallowFern.metainfo.xml)
# A course's title is escaped for each text (course_tsv.cmake).
cmake_minimum_required(VERSION 3.20)

set(inputs TF_SOURCE_DIR TF_NAME TF_PACKAGE TF_LESSON_ID TF_VERSION TF_OUT TF_NOTICE TF_METAINFO)
if(TF_COURSE)
    list(APPEND inputs TF_COURSE_ROWS)
else()
    list(APPEND inputs TF_LESSON_ROWS)
endif()
foreach(input IN LISTS inputs)
    if(NOT ${input})
        message(FATAL_ERROR "lesson_texts.cmake needs -D${input}=...")
    endif()
endforeach()
include("${CMAKE_CURRENT_LIST_DIR}/lesson_rows.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/course_tsv.cmake")

# Replaces old by new in the variable text_var, which must hold old: the texts
# cannot drift apart from what is replaced in them.
function(tf_replace text_var old new)
    string(FIND "${${text_var}}" "${old}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${source} no longer holds \"${old}\"")
    endif()
    string(REPLACE "${old}" "${new}" text "${${text_var}}")
    set(${text_var} "${text}" PARENT_SCOPE)
endfunction()

# Undoes the HTML escapes of the rows, for the texts that are not HTML.
function(tf_plain out text)
    string(REPLACE "&lt;" "<" text "${text}")
    string(REPLACE "&gt;" ">" text "${text}")
    string(REPLACE "&amp;" "&" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The readings as the manual page names the buttons: "chun", "nü" (\(:u).
function(tf_roff_reading out pinyin)
    string(REGEX REPLACE "[1-5]$" "" reading "${pinyin}")
    string(REPLACE "u:" "\\(:u" reading "${reading}")
    string(REPLACE "v" "\\(:u" reading "${reading}")
    string(TOLOWER "${reading}" reading)
    set(${out} "${reading}" PARENT_SCOPE)
endfunction()

if(TF_COURSE)
    # A course: its title, and each lesson's characters and readings.
    tf_read_course("${TF_COURSE}")
    tf_roff_escape(roff_title "${course_title}")
    tf_xml_escape(xml_title "${course_title}")
    tf_markdown_escape(markdown_title "${course_title}")
    set(all_spaced "  ")
    set(lesson_list "")
    set(table "")
    set(manual_lessons "")
    foreach(lesson RANGE 1 ${course_lessons})
        set(rows_file "${TF_COURSE_ROWS}/lesson-${course_number_${lesson}}.html")
        tf_read_lesson_rows("${rows_file}")
        if(NOT characters STREQUAL course_chars_${lesson})
            message(FATAL_ERROR "${rows_file} is for ${characters}, not ${course_chars_${lesson}}")
        endif()
        set(marked "")
        foreach(n 1 2 3 4 5)
            string(APPEND marked " ${marked_${n}}")
        endforeach()
        string(STRIP "${marked}" marked)
        # Two lessons a line in the notice.
        math(EXPR odd "${lesson} % 2")
        if(lesson GREATER 1)
            if(odd)
                string(APPEND all_spaced "\n  ")
            else()
                string(APPEND all_spaced "   ")
            endif()
            string(APPEND lesson_list ", ")
        endif()
        string(APPEND all_spaced "${spaced}")
        string(APPEND lesson_list "${characters}")
        tf_roff_escape(menu "${course_menu_${lesson}}")
        string(APPEND manual_lessons ".TP\n.B ${menu}\n${spaced} (${marked})\n")
        tf_markdown_escape(menu "${course_menu_${lesson}}")
        string(APPEND table "| ${lesson} | ${characters} | ${marked} | ${menu} |\n")
    endforeach()
    set(spaced "${all_spaced}")
else()
    tf_read_lesson_rows("${TF_LESSON_ROWS}")
    set(readings "")
    set(described "")
    set(table "")
    foreach(n 1 2 3 4 5)
        tf_roff_reading(reading "${pinyin_${n}}")
        if(n EQUAL 5)
            string(APPEND readings " and ")
        elseif(n GREATER 1)
            string(APPEND readings ", ")
        endif()
        string(APPEND readings "\\(lq${reading}\\(rq")
        if(n EQUAL 5)
            string(APPEND described " and ")
        elseif(n GREATER 1)
            string(APPEND described ", ")
        endif()
        string(APPEND described "${character_${n}} ${marked_${n}} (${meaning_${n}})")
        tf_plain(meaning "${meaning_${n}}")
        string(REPLACE "|" "\\|" meaning "${meaning}")
        string(APPEND table
            "| ${character_${n}} | ${pinyin_${n}} (${marked_${n}}) | ${meaning} | ${strokes_${n}} |\n")
    endforeach()
endif()
string(TOUPPER "${TF_NAME}" title)

file(MAKE_DIRECTORY "${TF_OUT}")
set(source "${TF_SOURCE_DIR}/packaging/tallowfern.1")
file(READ "${source}" text)
tf_replace(text ".TH TALLOWFERN 1" ".TH ${title} 1")
tf_replace(text "\n.B tallowfern\n" "\n.B ${TF_NAME}\n")
if(TF_COURSE)
    string(REPLACE "-" "\\-" settings "~/.config/TallowFern/course-${course_name}.ini")
    tf_replace(text "\ntallowfern \\- learn Chinese characters:"
        "\n${TF_NAME} \\- learn Chinese characters in ${course_lesson_count} (\\(lq${roff_title}\\(rq):")
    tf_replace(text ".B TallowFern\nis a desktop program"
        ".B ${TF_NAME}\nis a course of TallowFern, a desktop program")
    set(which "one of the ${course_lesson_count}")
    if(course_lessons EQUAL 1)
        set(which "the one lesson")
    endif()
    tf_replace(text
        "\\(lqda\\(rq, \\(lqjia\\(rq, \\(lqxue\\(rq, \\(lqzhong\\(rq and \\(lqwen\\(rq, as picture buttons."
        "${which} of the course \\(lq${roff_title}\\(rq\n(see\n.BR LESSONS ),\nas picture buttons; the Lesson menu chooses the lesson.")
    tf_replace(text "The program reads no command line, writes no file and keeps nothing between\nruns."
        "The program reads no command line; it keeps the lesson chosen last (see\n.BR FILES )\nand opens on it.")
    tf_replace(text ".SH FILES\n" ".SH LESSONS\n${manual_lessons}.SH FILES\n")
    tf_replace(text "The lesson data: outlines, stroke orders, voices and the dictionary."
        "The first lesson's data (outlines, stroke orders, voices) and the course's\ndictionary.")
    set(further "")
    if(course_lessons GREATER 1)
        set(last "${course_number_${course_lessons}}")
        string(APPEND further ".TP\n.I /usr/share/tallowfern/dat/zw\\-002.dat\n")
        string(APPEND further "The data of lesson 2 (outlines, stroke orders, voices),\n")
        string(APPEND further "and so on to\n.IR zw\\-${last}.dat .\n")
    endif()
    tf_replace(text ".TP\n.I /usr/share/tallowfern/dat/hzk24k.dat\n"
        "${further}.TP\n.I /usr/share/tallowfern/dat/hzk24k.dat\n")
    tf_replace(text "The help file, opened by Help"
        "The help file of the first lesson, opened by Help")
    set(further "")
    if(course_lessons GREATER 1)
        string(APPEND further ".TP\n.I /usr/share/tallowfern/help/lesson\\-002.chm\n")
        string(APPEND further "The help file of lesson 2, and so on to\n.IR lesson\\-${last}.chm .\n")
    endif()
    string(APPEND further ".TP\n.I ${settings}\n")
    string(APPEND further "The lesson chosen last (below\n.B $XDG_CONFIG_HOME\nin place of\n")
    string(APPEND further ".I ~/.config\nwhen it is set).\n")
    tf_replace(text ".TP\n.I /usr/share/tallowfern/dat/LICENSE.*\n"
        "${further}.TP\n.I /usr/share/tallowfern/dat/LICENSE.*\n")
else()
    tf_replace(text "\ntallowfern \\- learn Chinese characters:"
        "\n${TF_NAME} \\- learn the Chinese characters ${characters}:")
    tf_replace(text ".B TallowFern\nis a desktop program"
        ".B ${TF_NAME}\nis a lesson of TallowFern, a desktop program")
    tf_replace(text "\\(lqda\\(rq, \\(lqjia\\(rq, \\(lqxue\\(rq, \\(lqzhong\\(rq and \\(lqwen\\(rq"
        "${readings}")
endif()
tf_replace(text "share/tallowfern" "share/${TF_NAME}")
file(WRITE "${TF_OUT}/${TF_NAME}.1" "${text}")

set(source "${TF_SOURCE_DIR}/packaging/copyright")
file(READ "${source}" text)
if(TF_COURSE)
    tf_replace(text "Files: usr/share/tallowfern/dat/zw.dat\n"
        "Files: usr/share/tallowfern/dat/zw.dat usr/share/tallowfern/dat/zw-*.dat\n")
    tf_replace(text " zw.dat holds four kinds of data, each under the licence of its source:"
        " zw.dat holds four kinds of data, each under the licence of its source (each\n zw-NNN.dat, the data of a further lesson of the course, all but the\n dictionary):")
endif()
tf_replace(text "/share/tallowfern/" "/share/${TF_NAME}/")
file(WRITE "${TF_OUT}/copyright" "${text}")

set(source "${TF_SOURCE_DIR}/dat/LICENSE.hanzi-writer-data")
file(READ "${source}" text)
if(TF_COURSE)
    tf_replace(text "(offset 0 to 3504 of zw.dat), the stroke-order records\n(offset 3504 to 3664) and the character index table built into the program\nare a modified version of the stroke data of the npm package\n"
        "(offset 0 to 3504 of zw.dat and of each zw-NNN.dat), the\nstroke-order records (offset 3504 to 3664) and the character index table\nbuilt into the program are a modified version of the stroke data of the\nnpm package\n")
    tf_replace(text "the characters 大 家 学 中 文 are scaled to card\n"
        "the characters of the\ncourse's lessons,\n\n${spaced}\n\nare scaled to card\n")
else()
    tf_replace(text "the characters 大 家 学 中 文" "the characters ${spaced}")
endif()
file(WRITE "${TF_NOTICE}" "${text}")

# The screenshot shows a card of the default lesson: the lesson has none.
set(source "${TF_SOURCE_DIR}/packaging/example.tallowfern.TallowFern.metainfo.xml")
file(READ "${source}" text)
if(TF_COURSE)
    tf_replace(text "<id>example.tallowfern.TallowFern</id>"
        "<id>example.tallowfern.TallowFern.course_${TF_LESSON_ID}</id>")
    tf_replace(text "<name>TallowFern</name>" "<name>TallowFern: ${xml_title}</name>")
    tf_replace(text "<summary>Learn Chinese characters:"
        "<summary>Learn Chinese characters in ${course_lesson_count}:")
    tf_replace(text "    <ul>" "    <p>\n      The course “${xml_title}” teaches ${course_lesson_count} of five characters, chosen from\n      the program's Lesson menu: ${lesson_list}.\n    </p>\n    <ul>")
else()
    tf_replace(text "<id>example.tallowfern.TallowFern</id>"
        "<id>example.tallowfern.TallowFern.lesson_${TF_LESSON_ID}</id>")
    tf_replace(text "<name>TallowFern</name>" "<name>TallowFern: ${characters}</name>")
    tf_replace(text "<summary>Learn Chinese characters:"
        "<summary>Learn the Chinese characters ${characters}:")
    tf_replace(text "    <ul>" "    <p>\n      This lesson teaches ${described}.\n    </p>\n    <ul>")
endif()
tf_replace(text ">tallowfern.desktop<" ">${TF_NAME}.desktop<")
tf_replace(text ">tallowfern<" ">${TF_NAME}<")
string(REGEX REPLACE "  <screenshots>.*</screenshots>\n" "" text "${text}")
file(WRITE "${TF_METAINFO}" "${text}")

if(TF_COURSE)
    configure_file("${TF_SOURCE_DIR}/packaging/course-README.md.in" "${TF_OUT}/README.md" @ONLY)
else()
    configure_file("${TF_SOURCE_DIR}/packaging/lesson-README.md.in" "${TF_OUT}/README.md" @ONLY)
endif()
