# cmake --install <build> --prefix P gives:
#   P/bin/tallowfern                          launcher: cd's into the data folder, runs the program
#   P/libexec/tallowfern/tallowfern           the program
#   P/share/tallowfern/                       data folder: dat/, speaker1.bmp, tallowfern.chm
#   P/share/applications/tallowfern.desktop   desktop entry (Exec and Path point into P)
#   P/share/icons/hicolor/32x32/apps/tallowfern.png
#   P/share/doc/tallowfern/README.md

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
