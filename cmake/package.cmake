# The Debian package (CPack's DEB generator): make package, or cpack -G DEB in
# the build folder, writes tallowfern_<version>_amd64.deb there. It holds the
# install tree of install.cmake below /usr.

set(CPACK_GENERATOR DEB)
# The values reach CPackConfig.cmake escaped, as they are (a course's title).
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME ${TF_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The TallowFern developers")
set(CPACK_PACKAGE_CONTACT "The TallowFern developers <help@tallowfern.example>")
if(NOT DEFINED CPACK_PACKAGE_DESCRIPTION_SUMMARY)
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
        "learn Chinese characters: pinyin, meaning, stroke order and voice")
endif()
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Only what the program's own install rules name.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tallowfern.example)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window font is loaded by name; the help file needs a CHM viewer.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The extended description below the summary: CPack indents each line and
# writes an empty line as the paragraph mark.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "TallowFern teaches the Chinese characters of a lesson one card at a time."
    "Click a character and its card fills in: the pinyin, the English meaning,"
    "the character written stroke by stroke in the right order, one stroke a"
    "second, and the number of strokes. A native speaker's recording plays its"
    "pronunciation, and a window lists everyday words that begin with the"
    "character, each with its pinyin, meaning and pronunciation."
    ""
    "The dictionary comes from CC-CEDICT, the stroke outlines from"
    "hanzi-writer-data and the voices from the Shtooka recordings of Yue Tan.")
# A course puts a paragraph of its own first (the lines of TF_PACKAGE_DESCRIPTION_LEAD).
if(DEFINED TF_PACKAGE_DESCRIPTION_LEAD)
    string(JOIN "\n" tf_description_lead ${TF_PACKAGE_DESCRIPTION_LEAD})
    string(PREPEND CPACK_DEBIAN_PACKAGE_DESCRIPTION "${tf_description_lead}\n\n")
endif()

include(CPack)
