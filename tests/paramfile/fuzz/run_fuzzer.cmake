# Runs the reader's fuzzer on a fresh copy of the seed corpus and prints how many inputs it
# tried. Arguments: FUZZER, SEEDS (the seed writer), WORK (a folder of the build), DICT,
# SECONDS.
set(corpus "${WORK}/corpus")
file(REMOVE_RECURSE "${corpus}")
file(MAKE_DIRECTORY "${corpus}" "${WORK}/artifacts")
execute_process(COMMAND "${SEEDS}" "${corpus}" RESULT_VARIABLE seeded)
if(NOT seeded EQUAL 0)
  message(FATAL_ERROR "seed corpus not written")
endif()
execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -dict=${DICT} -artifact_prefix=${WORK}/artifacts/
          "${corpus}"
  RESULT_VARIABLE failed
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
string(REGEX MATCH "Done ([0-9]+) runs in ([0-9]+) second" done "${output}")
if(NOT failed EQUAL 0 OR NOT done)
  message(FATAL_ERROR "the fuzzer failed:\n${output}")
endif()
message("Parameter file reader fuzzing: ${CMAKE_MATCH_1} executions in ${CMAKE_MATCH_2} s")
