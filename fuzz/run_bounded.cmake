# Runs FUZZER for SECONDS on a fresh copy of the seed corpus CORPUS, kept in
# WORK with the artifacts of any finding; the repository's corpus is not touched.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/artifacts)
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
                        -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (status ${status}); the input is in ${WORK}/artifacts")
endif()
