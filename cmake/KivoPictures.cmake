# The pictures and icons are drawn at build time by the project's Python scripts.
find_program(KIVO_PYTHON3 NAMES python3 HINTS /usr/bin REQUIRED)

# kivo_draw(OUTPUT files... SCRIPT script [ARGS arguments...] [DEPENDS more...] COMMENT text): the
# files are made by running the script with the arguments, again whenever it or `more` changes.
function(kivo_draw)
    cmake_parse_arguments(D "" "SCRIPT;COMMENT" "OUTPUT;ARGS;DEPENDS" ${ARGN})
    add_custom_command(
        OUTPUT ${D_OUTPUT}
        COMMAND ${KIVO_PYTHON3} ${D_SCRIPT} ${D_ARGS}
        DEPENDS ${D_SCRIPT} ${D_DEPENDS}
        COMMENT "${D_COMMENT}"
        VERBATIM)
endfunction()
