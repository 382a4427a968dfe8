# Generates the seed designs and runs the loader fuzzer over them for a bounded time.
# Variables: SEMILLAS, FUZZER (programs), DIR (work folder), SEGUNDOS, and MODO for the seed
# program (empty: design files).
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/semillas" "${DIR}/corpus")
execute_process(COMMAND "${SEMILLAS}" "${DIR}/semillas" ${MODO} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "seed generation failed: ${rc}")
endif()
execute_process(
    COMMAND "${FUZZER}" -max_total_time=${SEGUNDOS} -max_len=25000 -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 -artifact_prefix=${DIR}/ "${DIR}/corpus" "${DIR}/semillas"
    RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the fuzzer found a fault (exit ${rc}); the input is in ${DIR}")
endif()
