# cmake --install <build> --prefix P gives:
#   P/bin/tallowfern                          launcher: cd's into the data folder, runs the program
#   P/libexec/tallowfern/tallowfern           the program
#   P/share/tallowfern/                       data folder: dat/, speaker1.bmp, tallowfern.chm
#   P/share/applications/tallowfern.desktop   desktop entry (Exec and Path point into P)
#   P/share/icons/hicolor/{32x32,48x48,64x64,128x128,scalable}/apps/tallowfern.{png,svg}
#   P/share/man/man1/tallowfern.1.gz           the manual page
#   P/share/metainfo/<id>.metainfo.xml         AppStream metadata
#   P/share/doc/tallowfern/                    README.md, copyright, changelog.gz

include(GNUInstallDirs)

set(TF_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tallowfern)
set(TF_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/tallowfern)
set(TF_ICON_SOURCE ${CMAKE_SOURCE_DIR}/app/resources/tallowfern.png)

install(TARGETS tallowfern RUNTIME DESTINATION ${TF_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${TALLOWFERN_DAT_DIR} DESTINATION ${TF_INSTALL_DATA_DIR})
install(FILES ${TALLOWFERN_RUN_DIR}/speaker1.bmp DESTINATION ${TF_INSTALL_DATA_DIR} OPTIONAL)
if(TARGET tallowfern_help)
    install(FILES ${TALLOWFERN_HELP_FILE} DESTINATION ${TF_INSTALL_DATA_DIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tallowfern)

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
configure_file(${CMAKE_SOURCE_DIR}/cmake/tallowfern-launcher.sh.in
    ${CMAKE_BINARY_DIR}/install/tallowfern @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/tallowfern DESTINATION ${CMAKE_INSTALL_BINDIR})

# The desktop entry needs absolute paths, and the prefix is known only when
# installing (--prefix), so its Exec and Path lines are written then.
install(CODE "
    set(TF_DESKTOP_SOURCE \"${CMAKE_SOURCE_DIR}/app/tallowfern.desktop\")
    set(TF_DESKTOP_WORK \"${CMAKE_BINARY_DIR}/install/tallowfern.desktop\")
    set(TF_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(TF_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(TF_DATA_FOLDER \"${TF_INSTALL_DATA_DIR}\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/install_desktop_entry.cmake\")
")

# The 32 x 32 program icon, written by the pictures target (app/).
set(TF_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
if(DEFINED TALLOWFERN_ICON_PNG)
    install(FILES ${TALLOWFERN_ICON_PNG} DESTINATION ${TF_ICON_DIR} RENAME tallowfern.png)
elseif(EXISTS ${TF_ICON_SOURCE})
    install(FILES ${TF_ICON_SOURCE} DESTINATION ${TF_ICON_DIR})
endif()

# The larger icons (rendered from the SVG by the pictures target) and the SVG.
if(DEFINED TALLOWFERN_ICON_THEME_DIR)
    install(DIRECTORY ${TALLOWFERN_ICON_THEME_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${TALLOWFERN_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The manual page and the changelog, compressed as Debian keeps them (no name
# or time stamp in the gzip header, so the same sources give the same bytes).
set(TF_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(TF_COMPRESSED_DIR ${CMAKE_BINARY_DIR}/install)
foreach(pair "tallowfern.1:tallowfern.1.gz" "changelog:changelog.gz")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT ${TF_COMPRESSED_DIR}/${target}
        COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip
                ${TF_PACKAGING_DIR}/${source} ${TF_COMPRESSED_DIR}/${target}
        DEPENDS ${TF_PACKAGING_DIR}/${source}
        VERBATIM)
    list(APPEND TF_COMPRESSED_FILES ${TF_COMPRESSED_DIR}/${target})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${TF_COMPRESSED_FILES})
install(FILES ${TF_COMPRESSED_DIR}/tallowfern.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TF_COMPRESSED_DIR}/changelog.gz ${TF_PACKAGING_DIR}/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tallowfern)
install(FILES ${TF_PACKAGING_DIR}/example.tallowfern.TallowFern.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
