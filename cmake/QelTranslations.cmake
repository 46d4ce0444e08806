# Compiling Qt translations with lrelease (qttools5-dev-tools), without the
# LinguistTools CMake package.
find_program(QEL_LRELEASE lrelease HINTS /usr/lib/qt5/bin /usr/lib/x86_64-linux-gnu/qt5/bin
             REQUIRED)

# qel_add_translations(<out_var> <qm_name> <ts files...>)
# Compiles the .ts files into one <qm_name>.qm in the current binary directory
# and stores its path in <out_var>; the file is also listed in the global
# property QEL_TRANSLATION_FILES, the translations an installation carries.
function(qel_add_translations out qm_name)
    set(qm ${CMAKE_CURRENT_BINARY_DIR}/${qm_name}.qm)
    add_custom_command(OUTPUT ${qm}
        COMMAND ${QEL_LRELEASE} -silent ${ARGN} -qm ${qm}
        DEPENDS ${ARGN}
        COMMENT "Compiling translation ${qm_name}.qm"
        VERBATIM)
    set(${out} ${qm} PARENT_SCOPE)
    set_property(GLOBAL APPEND PROPERTY QEL_TRANSLATION_FILES ${qm})
endfunction()
