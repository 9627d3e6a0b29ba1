# Run by cmake --install: writes the desktop entry with Exec and Path in the
# prefix being installed to. Expects TF_DESKTOP_SOURCE, TF_DESKTOP_WORK,
# TF_BINDIR, TF_DATADIR and TF_DATA_FOLDER (install dirs, relative or absolute),
# TF_NAME (the command and icon) and TF_DISPLAY_NAME (the entry's name).

function(tf_full_dir out dir)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
    else()
        set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
    endif()
endfunction()

tf_full_dir(tf_bin "${TF_BINDIR}")
tf_full_dir(tf_data "${TF_DATA_FOLDER}")
tf_full_dir(tf_apps "${TF_DATADIR}/applications")
set(tf_exec "${tf_bin}/${TF_NAME}")

# Exec: a program path with reserved characters is quoted, and inside the
# quotes " ` $ \ take a backslash.
if(tf_exec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" tf_exec "${tf_exec}")
    string(REPLACE "\"" "\\\"" tf_exec "${tf_exec}")
    string(REPLACE "`" "\\`" tf_exec "${tf_exec}")
    string(REPLACE "$" "\\$" tf_exec "${tf_exec}")
    set(tf_exec "\"${tf_exec}\"")
endif()
# Both are string values, where a backslash is written twice.
string(REPLACE "\\" "\\\\" tf_exec "${tf_exec}")
string(REPLACE "\\" "\\\\" tf_data "${tf_data}")

file(READ "${TF_DESKTOP_SOURCE}" tf_entry)
string(REGEX REPLACE "\nPath=[^\n]*" "" tf_entry "${tf_entry}")
# The name is a string value too: a backslash written twice, the rest as it is
# (set in place of a marker, never read as a replacement pattern).
string(REPLACE "\\" "\\\\" tf_name_value "${TF_DISPLAY_NAME}")
string(REGEX REPLACE "\nName=[^\n]*" "\nName=@TF_NAME_VALUE@" tf_entry "${tf_entry}")
string(REPLACE "@TF_NAME_VALUE@" "${tf_name_value}" tf_entry "${tf_entry}")
string(REGEX REPLACE "\nIcon=[^\n]*" "\nIcon=${TF_NAME}" tf_entry "${tf_entry}")
string(REGEX REPLACE "\nExec=[^\n]*" "\nExec=${tf_exec}\nPath=${tf_data}" tf_entry "${tf_entry}")
file(WRITE "${TF_DESKTOP_WORK}" "${tf_entry}")
file(INSTALL DESTINATION "${tf_apps}" TYPE FILE FILES "${TF_DESKTOP_WORK}")
