# Reads what mkdata --course wrote about a course (included by
# cmake/course/CMakeLists.txt and lesson_texts.cmake), course.tsv:
#   name<TAB>first-lessons
#   title<TAB>First lessons
#   lesson<TAB>1<TAB>一是人了不<TAB>Lesson 1: yi shi ren le bu
#   ... one line a lesson, numbered from 1
#
# tf_read_course(<file>) sets in the caller:
#   course_name      [a-z0-9-]+
#   course_title     letters, digits, blanks and -',.:!?(), 1 to 60 of them
#   course_lessons   the number of lessons; course_lesson_count: "1 lesson", "18 lessons"
#   for n = 1..course_lessons: course_chars_<n> (five characters, UTF-8),
#   course_menu_<n> (the Lesson menu's text), course_number_<n> (n in three
#   digits, as in zw-002.dat and lesson-002.chm)
# and stops with an error on anything else: the title is data, and only what
# can stand in every text it lands in passes.
function(tf_read_course file)
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "no ${file}: the builder wrote no course")
    endif()
    file(STRINGS "${file}" lines ENCODING UTF-8)
    set(lessons 0)
    set(line_number 0)
    foreach(line IN LISTS lines)
        math(EXPR line_number "${line_number} + 1")
        if(line_number EQUAL 1 AND line MATCHES "^name\t([a-z0-9-]+)$")
            set(course_name "${CMAKE_MATCH_1}" PARENT_SCOPE)
        elseif(line_number EQUAL 2 AND line MATCHES "^title\t([A-Za-z0-9 ',.:!?()-]+)$")
            string(LENGTH "${CMAKE_MATCH_1}" length)
            if(length GREATER 60)
                message(FATAL_ERROR "${file}: a title of ${length} characters")
            endif()
            set(course_title "${CMAKE_MATCH_1}" PARENT_SCOPE)
        elseif(line_number GREATER 2 AND line MATCHES "^lesson\t([0-9]+)\t([^\t]+)\t([^\t]+)$")
            math(EXPR lessons "${lessons} + 1")
            if(NOT CMAKE_MATCH_1 STREQUAL lessons)
                message(FATAL_ERROR "${file}: lesson ${CMAKE_MATCH_1} where ${lessons} belongs")
            endif()
            set(course_chars_${lessons} "${CMAKE_MATCH_2}" PARENT_SCOPE)
            set(course_menu_${lessons} "${CMAKE_MATCH_3}" PARENT_SCOPE)
            math(EXPR number "1000 + ${lessons}")
            string(SUBSTRING "${number}" 1 3 number)
            set(course_number_${lessons} "${number}" PARENT_SCOPE)
        else()
            message(FATAL_ERROR "${file}, line ${line_number}: not the name, the title (letters, "
                "digits, blanks and -',.:!?() only) or a lesson where it stands")
        endif()
    endforeach()
    if(lessons EQUAL 0 OR lessons GREATER 999)
        message(FATAL_ERROR "${file}: ${lessons} lessons")
    endif()
    set(course_lessons ${lessons} PARENT_SCOPE)
    if(lessons EQUAL 1)
        set(course_lesson_count "1 lesson" PARENT_SCOPE)
    else()
        set(course_lesson_count "${lessons} lessons" PARENT_SCOPE)
    endif()
endfunction()

# Escapes of the title (and menu texts) for the texts they land in.
# XML text and attribute values.
function(tf_xml_escape out text)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\"" "&quot;" text "${text}")
    string(REPLACE "'" "&apos;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# roff text inside a line or a macro's arguments: a backslash, a hyphen and
# quotes as themselves (a leading . or ' cannot occur there).
function(tf_roff_escape out text)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    string(REPLACE "'" "\\(aq" text "${text}")
    string(REPLACE "\"" "\\(dq" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Markdown text: its marks taken as themselves.
function(tf_markdown_escape out text)
    string(REGEX REPLACE "([][\\\\`*_<>|])" "\\\\\\1" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
