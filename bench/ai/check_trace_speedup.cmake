# Runs quorbel-trace-speedup on a small trace whose figures can be worked out by hand.
# cmake -DSPEEDUP=<quorbel-trace-speedup> -DWORK_DIR=<scratch directory> -P check_trace_speedup.cmake

# Position 4, level 8: items of 4, 1, 1, 1 and 1 ms, taken in that order. Two threads: the first
# takes 4, the second the four of 1: 4 ms, so 8 / 4 = 2. Position 777, level 8, the same items with
# the 4 ms last: two threads finish the ones at 2 ms and then one takes the 4: 6 ms, 8 / 6 = 1.33;
# four threads 5 ms, 1.60; eight 4 ms, 2.00. The search time of 10 ms makes the sum 80%.
file(WRITE "${WORK_DIR}/speedup.trace"
"# fields: level candidate place thread start_ms ms
# position 4
8 1 0 0 0.000 4.000
8 1 1 0 4.000 1.000
8 2 2 0 5.000 1.000
8 3 3 0 6.000 1.000
8 4 4 0 7.000 1.000
# level 8 search_ms 8.000 completed
# position 777
8 1 0 0 0.000 1.000
8 1 1 0 1.000 1.000
8 2 2 0 2.000 1.000
8 3 3 0 3.000 1.000
8 4 4 0 4.000 4.000
# level 8 search_ms 10.000 completed
")
execute_process(COMMAND "${SPEEDUP}" "${WORK_DIR}/speedup.trace" OUTPUT_VARIABLE output
                RESULT_VARIABLE status)
set(expected_first "^4 +8 +5 +8.0 +8.0 +100.0% +4.0 +50.0% +2.00 +2.00 +2.00 +2.00$")
set(expected_second "^777 +8 +5 +8.0 +10.0 +80.0% +4.0 +50.0% +1.33 +1.60 +2.00 +2.00$")
string(REPLACE "\n" ";" lines "${output}")
list(LENGTH lines count)
if(NOT status EQUAL 0 OR count LESS 3)
  message(FATAL_ERROR "quorbel-trace-speedup ended with ${status}:\n${output}")
endif()
list(GET lines 1 first)
list(GET lines 2 second)
if(NOT first MATCHES "${expected_first}" OR NOT second MATCHES "${expected_second}")
  message(FATAL_ERROR "unexpected figures:\n${output}")
endif()

execute_process(COMMAND "${SPEEDUP}" --help OUTPUT_QUIET ERROR_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 2 OR NOT usage MATCHES "^usage: quorbel-trace-speedup")
  message(FATAL_ERROR "--help: status ${status}, ${usage}")
endif()
