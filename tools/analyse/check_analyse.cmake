# Runs quorbel-analyse on valid and invalid lines and checks every member of its JSON answers.
# Then its command line: help, version, and the exit status and message of each kind of mistake.
# cmake -DANALYSE=<quorbel-analyse> -DVERSION=<project version> -DWORK_DIR=<scratch directory>
#       -P check_analyse.cmake

set(failures 0)

function(fail text)
  message("FAIL: ${text}")
  math(EXPR count "${failures} + 1")
  set(failures ${count} PARENT_SCOPE)
endfunction()

# Expects the member at the path (the arguments after `expected`) to read `expected`.
function(expect json expected)
  string(JSON actual ERROR_VARIABLE error GET "${json}" ${ARGN})
  if(error)
    fail("${ARGN}: ${error} in ${json}")
  elseif(NOT actual STREQUAL expected)
    fail("${ARGN} is '${actual}', expected '${expected}' in ${json}")
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

function(expect_matching json pattern)
  string(JSON actual ERROR_VARIABLE error GET "${json}" ${ARGN})
  if(error OR NOT actual MATCHES "${pattern}")
    fail("${ARGN} is '${actual}${error}', expected to match '${pattern}' in ${json}")
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

function(expect_length json expected)
  string(JSON actual ERROR_VARIABLE error LENGTH "${json}" ${ARGN})
  if(error OR NOT actual EQUAL expected)
    fail("length of ${ARGN} is '${actual}${error}', expected ${expected} in ${json}")
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

function(expect_error json moves text)
  expect("${json}" "${moves}" moves)
  expect("${json}" "${text}" error)
  string(JSON exit ERROR_VARIABLE missing GET "${json}" exit)
  if(NOT missing)
    fail("an error answer has an exit: ${json}")
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

# Runs the tool on the lines and returns its answers, one list element per line.
function(analyse lines result)
  file(WRITE "${WORK_DIR}/analyse_input.txt" "${lines}")
  execute_process(COMMAND "${ANALYSE}" ${ARGN}
                  INPUT_FILE "${WORK_DIR}/analyse_input.txt"
                  OUTPUT_VARIABLE output RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    fail("quorbel-analyse ended with ${status}")
  endif()
  # The answers hold brackets, which would keep a plain list split from splitting them.
  set(answers)
  while(NOT output STREQUAL "")
    string(FIND "${output}" "\n" end)
    string(SUBSTRING "${output}" 0 ${end} line)
    math(EXPR rest "${end} + 1")
    string(SUBSTRING "${output}" ${rest} -1 output)
    string(REPLACE ";" "\\;" line "${line}")
    list(APPEND answers "${line}")
  endwhile()
  set(${result} "${answers}" PARENT_SCOPE)
  set(failures ${failures} PARENT_SCOPE)
endfunction()

analyse("4 1
- 3

5245 2
273746 2
516217275763 5
722 1
4444444 2
1212121 3
141724165222235463442116413773377573556656 1
48 1
4 11
4
" answers)
list(LENGTH answers count)
if(NOT count EQUAL 12)
  fail("12 answers expected (the blank line gets none), got ${count}")
endif()
list(GET answers 0 choice)
expect("${choice}" "4" moves)
expect("${choice}" "1" level)
expect("${choice}" "choice" exit)
expect_length("${choice}" 7 filtered)
expect("${choice}" "7" filtered 6)
expect("${choice}" "none" verdicts 1)
expect_length("${choice}" 7 verdicts)
expect("${choice}" "6" enemy_lines 1 0)
expect("${choice}" "0" enemy_lines 1 2)
expect("${choice}" "5" enemy_lines 2 0)
expect("${choice}" "0.125" choice 2)
expect("${choice}" "0.125" choice 3)
expect("${choice}" "0.25" choice 5)
expect("${choice}" "0.5" choice 6)
expect_length("${choice}" 4 choice)
string(JSON ms ERROR_VARIABLE error TYPE "${choice}" ms)
if(NOT ms STREQUAL "NUMBER")
  fail("ms is no number: ${choice}")
endif()

list(GET answers 1 opening)
expect("${opening}" "opening" exit)
expect("${opening}" "-" moves)
expect_length("${opening}" 0 filtered)
expect_length("${opening}" 0 verdicts)
expect_matching("${opening}" "^0\\.33333333333333" choice 4)

list(GET answers 2 forced)
expect("${forced}" "forced_win" exit)
expect("${forced}" "won" verdicts 6)
expect_length("${forced}" 6 verdicts)
expect_length("${forced}" 6 enemy_lines)
expect("${forced}" "1" choice 6)

list(GET answers 3 immediate)
expect("${immediate}" "immediate_win" exit)
expect("${immediate}" "1" filtered 0)
expect("${immediate}" "1" choice 1)

list(GET answers 4 defeat)
expect("${defeat}" "defeat" exit)
expect_length("${defeat}" 0 filtered)
expect("${defeat}" "1" choice 7)

list(GET answers 5 tie)
expect("${tie}" "0.25" choice 4)
expect("${tie}" "0.25" choice 5)
expect("${tie}" "0.5" choice 6)

list(GET answers 6 full_column)
expect_error("${full_column}" "4444444" "illegal move: column full")
list(GET answers 7 four)
expect_error("${four}" "1212121" "four already on the board")
list(GET answers 8 full_board)
expect_error("${full_board}" "141724165222235463442116413773377573556656" "board full")
list(GET answers 9 not_a_column)
expect_error("${not_a_column}" "48" "illegal move: not a column 1-7")
list(GET answers 10 level)
expect_error("${level}" "4" "level outside 1..10")
expect("${level}" "11" level)
list(GET answers 11 malformed)
expect_error("${malformed}" "4" "expected MOVES LEVEL")

# With a time limit the answer tells which level was completed.
analyse("4 10
" limited --time-limit 0.2)
expect("${limited}" "10" level)
string(JSON completed ERROR_VARIABLE error GET "${limited}" completed_level)
if(error OR completed LESS 1 OR completed GREATER 9)
  fail("completed_level '${completed}${error}' should lie in 1..9: ${limited}")
endif()

# Runs the tool with the arguments on empty input and matches its status and both outputs.
function(expect_command_line status stdout_pattern stderr_pattern)
  file(WRITE "${WORK_DIR}/analyse_input.txt" "")
  execute_process(COMMAND "${ANALYSE}" ${ARGN} INPUT_FILE "${WORK_DIR}/analyse_input.txt"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE actual)
  if(NOT actual EQUAL status OR NOT out MATCHES "${stdout_pattern}"
     OR NOT err MATCHES "${stderr_pattern}")
    fail("quorbel-analyse ${ARGN}: status ${actual}, stdout '${out}', stderr '${err}'")
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

expect_command_line(0 "^usage: quorbel-analyse .*\n  --table-bits B .*\n  --version " "^$" --help)
expect_command_line(0 "^quorbel-analyse ${VERSION}\n$" "^$" --version)
expect_command_line(2 "^$" "unknown option '--bogus'" --bogus)
expect_command_line(2 "^$" "unexpected argument 'positions.txt'" positions.txt)
expect_command_line(2 "^$" "'--threads' needs a value" --threads)
expect_command_line(2 "^$" "invalid value 'two' for option '--threads'" --threads two)
expect_command_line(2 "^$" "invalid value '0' for option '--time-limit'" --time-limit 0)
expect_command_line(2 "^$" "invalid value '31' for option '--table-bits'" --table-bits 31)

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} checks of quorbel-analyse failed")
endif()
