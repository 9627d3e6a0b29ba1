# The texts a lesson of one's own installs, in script mode, from what
# mkdata --help-table wrote for it (read by lesson_rows.cmake):
#
#   cmake -DTF_SOURCE_DIR=<sources> -DTF_LESSON_ROWS=ROWS.html -DTF_NAME=tallowfern-<slug>
#         -DTF_PACKAGE=<package> -DTF_LESSON_ID=<id> -DTF_VERSION=<version> -DTF_OUT=DIR
#         -DTF_NOTICE=<file> -DTF_METAINFO=<file> -P cmake/lesson_texts.cmake
#
# writes, each from the default program's text with the lesson's name,
# command, data folder, characters and readings in their places:
#   DIR/<TF_NAME>.1   the manual page (packaging/tallowfern.1)
#   DIR/README.md     the lesson's note (packaging/lesson-README.md.in)
#   DIR/copyright     the Debian copyright file, with the lesson's data folder
#   TF_NOTICE         the outline notice (dat/LICENSE.hanzi-writer-data)
#   TF_METAINFO       the AppStream metadata, id example.tallowfern.TallowFern.lesson_<id>
#                     (packaging/example.tallowfern.TallowFern.metainfo.xml)
cmake_minimum_required(VERSION 3.20)

foreach(input TF_SOURCE_DIR TF_LESSON_ROWS TF_NAME TF_PACKAGE TF_LESSON_ID TF_VERSION TF_OUT
        TF_NOTICE TF_METAINFO)
    if(NOT ${input})
        message(FATAL_ERROR "lesson_texts.cmake needs -D${input}=...")
    endif()
endforeach()
include("${CMAKE_CURRENT_LIST_DIR}/lesson_rows.cmake")
tf_read_lesson_rows("${TF_LESSON_ROWS}")

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
set(readings "")
set(described "")
set(table "")
foreach(n 1 2 3 4 5)
    string(REGEX REPLACE "[1-5]$" "" reading "${pinyin_${n}}")
    string(REPLACE "u:" "\\(:u" reading "${reading}")
    string(REPLACE "v" "\\(:u" reading "${reading}")
    string(TOLOWER "${reading}" reading)
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
string(TOUPPER "${TF_NAME}" title)

file(MAKE_DIRECTORY "${TF_OUT}")
set(source "${TF_SOURCE_DIR}/packaging/tallowfern.1")
file(READ "${source}" text)
tf_replace(text ".TH TALLOWFERN 1" ".TH ${title} 1")
tf_replace(text "\ntallowfern \\- learn Chinese characters:"
    "\n${TF_NAME} \\- learn the Chinese characters ${characters}:")
tf_replace(text "\n.B tallowfern\n" "\n.B ${TF_NAME}\n")
tf_replace(text ".B TallowFern\nis a desktop program"
    ".B ${TF_NAME}\nis a lesson of TallowFern, a desktop program")
tf_replace(text "\\(lqda\\(rq, \\(lqjia\\(rq, \\(lqxue\\(rq, \\(lqzhong\\(rq and \\(lqwen\\(rq"
    "${readings}")
tf_replace(text "share/tallowfern" "share/${TF_NAME}")
file(WRITE "${TF_OUT}/${TF_NAME}.1" "${text}")

set(source "${TF_SOURCE_DIR}/packaging/copyright")
file(READ "${source}" text)
tf_replace(text "/share/tallowfern/" "/share/${TF_NAME}/")
file(WRITE "${TF_OUT}/copyright" "${text}")

set(source "${TF_SOURCE_DIR}/dat/LICENSE.hanzi-writer-data")
file(READ "${source}" text)
tf_replace(text "the characters 大 家 学 中 文" "the characters ${spaced}")
file(WRITE "${TF_NOTICE}" "${text}")

# The screenshot shows a card of the default lesson: the lesson has none.
set(source "${TF_SOURCE_DIR}/packaging/example.tallowfern.TallowFern.metainfo.xml")
file(READ "${source}" text)
tf_replace(text "<id>example.tallowfern.TallowFern</id>"
    "<id>example.tallowfern.TallowFern.lesson_${TF_LESSON_ID}</id>")
tf_replace(text "<name>TallowFern</name>" "<name>TallowFern: ${characters}</name>")
tf_replace(text "<summary>Learn Chinese characters:"
    "<summary>Learn the Chinese characters ${characters}:")
tf_replace(text "    <ul>" "    <p>\n      This lesson teaches ${described}.\n    </p>\n    <ul>")
tf_replace(text ">tallowfern.desktop<" ">${TF_NAME}.desktop<")
tf_replace(text ">tallowfern<" ">${TF_NAME}<")
string(REGEX REPLACE "  <screenshots>.*</screenshots>\n" "" text "${text}")
file(WRITE "${TF_METAINFO}" "${text}")

configure_file("${TF_SOURCE_DIR}/packaging/lesson-README.md.in" "${TF_OUT}/README.md" @ONLY)
