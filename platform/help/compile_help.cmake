# Compiles the help project in a copy of its sources and fails on any warning of the compiler,
# such as a link to a page that does not exist.
# Variables: CHMCMD, WORK_DIR, SOURCES (list), OUTPUT.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCES} DESTINATION ${WORK_DIR})

execute_process(
    COMMAND ${CHMCMD} --verbosity 1 KivoSet.hhp
    WORKING_DIRECTORY ${WORK_DIR}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output
    TIMEOUT 120)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "chmcmd failed (${result}):\n${output}")
endif()
string(REGEX MATCHALL "(Warning|Error)[^\n]*" problems "${output}")
if(problems)
    list(JOIN problems "\n" problems)
    message(FATAL_ERROR "The help project has problems:\n${problems}")
endif()
if(NOT EXISTS ${WORK_DIR}/KivoSet.chm)
    message(FATAL_ERROR "chmcmd wrote no KivoSet.chm:\n${output}")
endif()
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(COPY ${WORK_DIR}/KivoSet.chm DESTINATION ${output_dir})
