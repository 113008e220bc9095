# Installs the desktop entry, its Exec naming the installed program by its
# absolute path: a desktop session need not have the install's bin folder on
# its PATH (~/.local/bin often is not). Included by the install script, where
# CMAKE_INSTALL_PREFIX is the prefix of this install; the folders may be
# relative to it.
foreach(dossier dossier_programmes dossier_entrees)
    if(NOT IS_ABSOLUTE "${${dossier}}")
        set(${dossier} "${CMAKE_INSTALL_PREFIX}/${${dossier}}")
    endif()
endforeach()
cmake_path(SET programme NORMALIZE "${dossier_programmes}/valdorin")
if(programme MATCHES "[\n\r\t]")
    message(FATAL_ERROR "Un chemin d'installation contenant un saut de ligne ou une tabulation "
        "ne peut être écrit dans l'entrée de bureau : ${programme}")
endif()
# One quoted argument of Exec: \ " ` $ escaped inside the quotes, then the
# value's own escapes (\\ for a backslash) and %% for a literal %.
foreach(signe "\\" "\"" "`" "$")
    string(REPLACE "${signe}" "\\${signe}" programme "${programme}")
endforeach()
string(REPLACE "\\" "\\\\" programme "${programme}")
string(REPLACE "%" "%%" programme "${programme}")
set(VALDORIN_EXEC "\"${programme}\"")
configure_file("${modele_entree}" "${entree_preparee}" @ONLY)
file(INSTALL "${entree_preparee}" DESTINATION "${dossier_entrees}")
