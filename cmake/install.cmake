# cmake --install <build> --prefix P gives, with N the installed name
# (TF_NAME: tallowfern, tallowfern-<slug> for a lesson of one's own, or
# tallowfern-course-<name> for a course):
#   P/bin/N                          launcher: cd's into the data folder, runs the program
#   P/libexec/N/tallowfern           the program
#   P/share/N/                       data folder: dat/, speaker1.bmp, tallowfern.chm
#                                    (and a course's help/)
#   P/share/applications/N.desktop   desktop entry (Exec and Path point into P)
#   P/share/icons/hicolor/{32x32,48x48,64x64,128x128,scalable}/apps/N.{png,svg}
#   P/share/man/man1/N.1.gz           the manual page
#   P/share/metainfo/<id>.metainfo.xml AppStream metadata
#   P/share/doc/<package>/            README.md, copyright, changelog.gz
# The project sets TF_NAME, TF_PACKAGE, TF_DISPLAY_NAME and TF_METAINFO (the
# metadata file) before including this file, and a lesson of one's own its
# manual page TF_MANUAL, note TF_README and copyright file TF_COPYRIGHT (else
# those of packaging/ and README.md), a course also its help folder
# TALLOWFERN_LESSON_HELP_DIR; TF_SOURCE_DIR is the program's source tree.

include(GNUInstallDirs)

set(TF_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/${TF_NAME})
set(TF_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/${TF_NAME})
set(TF_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${TF_PACKAGE})
set(TF_ICON_SOURCE ${TF_SOURCE_DIR}/app/resources/tallowfern.png)

install(TARGETS tallowfern RUNTIME DESTINATION ${TF_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${TALLOWFERN_DAT_DIR} DESTINATION ${TF_INSTALL_DATA_DIR})
install(FILES ${TALLOWFERN_RUN_DIR}/speaker1.bmp DESTINATION ${TF_INSTALL_DATA_DIR} OPTIONAL)
if(TARGET tallowfern_help)
    install(FILES ${TALLOWFERN_HELP_FILE} DESTINATION ${TF_INSTALL_DATA_DIR})
    # A course's help files of its further lessons (help/lesson-NNN.chm).
    if(DEFINED TALLOWFERN_LESSON_HELP_DIR)
        install(DIRECTORY ${TALLOWFERN_LESSON_HELP_DIR} DESTINATION ${TF_INSTALL_DATA_DIR})
    endif()
endif()
if(NOT DEFINED TF_README)
    set(TF_README ${TF_SOURCE_DIR}/README.md)
endif()
install(FILES ${TF_README} DESTINATION ${TF_INSTALL_DOC_DIR} RENAME README.md)

# The launcher finds the program and the data folder relative to itself, so
# the installed tree can be moved (and DESTDIR works).
function(tf_relative_to_bindir out dir)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
    elseif(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
        set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
    else()
        file(RELATIVE_PATH rel "/${CMAKE_INSTALL_BINDIR}" "/${dir}")
        set(${out} "\$here/${rel}" PARENT_SCOPE)
    endif()
endfunction()
tf_relative_to_bindir(TF_LAUNCHER_DATA_DIR ${TF_INSTALL_DATA_DIR})
tf_relative_to_bindir(TF_LAUNCHER_PROGRAM ${TF_INSTALL_PROGRAM_DIR}/tallowfern)
configure_file(${TF_SOURCE_DIR}/cmake/tallowfern-launcher.sh.in
    ${CMAKE_BINARY_DIR}/install/${TF_NAME} @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/${TF_NAME} DESTINATION ${CMAKE_INSTALL_BINDIR})

# The desktop entry needs absolute paths, and the prefix is known only when
# installing (--prefix), so its Exec and Path lines are written then. Its name
# (a course's title) reaches the install script in a file, never as its code.
file(WRITE ${CMAKE_BINARY_DIR}/install/${TF_NAME}.name "${TF_DISPLAY_NAME}")
install(CODE "
    set(TF_DESKTOP_SOURCE \"${TF_SOURCE_DIR}/app/tallowfern.desktop\")
    set(TF_DESKTOP_WORK \"${CMAKE_BINARY_DIR}/install/${TF_NAME}.desktop\")
    set(TF_NAME \"${TF_NAME}\")
    file(READ \"${CMAKE_BINARY_DIR}/install/${TF_NAME}.name\" TF_DISPLAY_NAME)
    set(TF_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(TF_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(TF_DATA_FOLDER \"${TF_INSTALL_DATA_DIR}\")
    include(\"${TF_SOURCE_DIR}/cmake/install_desktop_entry.cmake\")
")

# The 32 x 32 program icon, written by the pictures target (app/), or a
# lesson's (cmake/lesson/).
set(TF_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
if(DEFINED TALLOWFERN_ICON_PNG)
    install(FILES ${TALLOWFERN_ICON_PNG} DESTINATION ${TF_ICON_DIR} RENAME ${TF_NAME}.png)
elseif(EXISTS ${TF_ICON_SOURCE})
    install(FILES ${TF_ICON_SOURCE} DESTINATION ${TF_ICON_DIR} RENAME ${TF_NAME}.png)
endif()

# The larger icons (rendered from the SVG by the pictures target) and the SVG.
if(DEFINED TALLOWFERN_ICON_THEME_DIR)
    foreach(size 48x48 64x64 128x128)
        install(FILES ${TALLOWFERN_ICON_THEME_DIR}/${size}/apps/tallowfern.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps RENAME ${TF_NAME}.png)
    endforeach()
    install(FILES ${TALLOWFERN_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TF_NAME}.svg)
endif()

# The manual page and the changelog, compressed as Debian keeps them (no name
# or time stamp in the gzip header, so the same sources give the same bytes).
set(TF_PACKAGING_DIR ${TF_SOURCE_DIR}/packaging)
set(TF_COMPRESSED_DIR ${CMAKE_BINARY_DIR}/install)
if(NOT DEFINED TF_MANUAL)
    set(TF_MANUAL ${TF_PACKAGING_DIR}/tallowfern.1)
endif()
if(NOT DEFINED TF_COPYRIGHT)
    set(TF_COPYRIGHT ${TF_PACKAGING_DIR}/copyright)
endif()
foreach(pair "${TF_MANUAL}:${TF_NAME}.1.gz" "${TF_PACKAGING_DIR}/changelog:changelog.gz")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT ${TF_COMPRESSED_DIR}/${target}
        COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${source} ${TF_COMPRESSED_DIR}/${target}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND TF_COMPRESSED_FILES ${TF_COMPRESSED_DIR}/${target})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${TF_COMPRESSED_FILES})
install(FILES ${TF_COMPRESSED_DIR}/${TF_NAME}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TF_COMPRESSED_DIR}/changelog.gz ${TF_COPYRIGHT} DESTINATION ${TF_INSTALL_DOC_DIR})
install(FILES ${TF_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
