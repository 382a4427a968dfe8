# Generates the seeds (or copies them from a folder) and runs a fuzzer over them for a
# bounded time. Variables: SEMILLAS (a program that writes seeds, given MODO after the folder:
# empty for design files) or SEMILLAS_DIR (a folder of seeds), FUZZER, DIR (work folder),
# SEGUNDOS, MAX_LEN (25000 when not given).
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/semillas" "${DIR}/corpus")
if(DEFINED SEMILLAS_DIR)
    file(GLOB semillas "${SEMILLAS_DIR}/*")
    file(COPY ${semillas} DESTINATION "${DIR}/semillas")
else()
    execute_process(COMMAND "${SEMILLAS}" "${DIR}/semillas" ${MODO} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "seed generation failed: ${rc}")
    endif()
endif()
if(NOT DEFINED MAX_LEN)
    set(MAX_LEN 25000)
endif()
execute_process(
    COMMAND "${FUZZER}" -max_total_time=${SEGUNDOS} -max_len=${MAX_LEN} -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 -artifact_prefix=${DIR}/ "${DIR}/corpus" "${DIR}/semillas"
    RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the fuzzer found a fault (exit ${rc}); the input is in ${DIR}")
endif()
