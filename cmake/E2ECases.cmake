# Registers each case of one end-to-end test file as a test of its own, named
# PREFIX<case> and run as SCRIPT CLASS<case>. They run one at a time: copies of
# the program find each other through the desktop, and the cases' waits need a
# responsive machine. ENVIRONMENT is a list of NAME=VALUE.
function(twk_e2e_cases)
  cmake_parse_arguments(E2E "" "PREFIX;SCRIPT;CLASS;TIMEOUT" "ENVIRONMENT;CASES" ${ARGN})
  foreach(case IN LISTS E2E_CASES)
    add_test(NAME ${E2E_PREFIX}${case} COMMAND ${Python3_EXECUTABLE} ${E2E_SCRIPT} ${E2E_CLASS}${case})
    set_tests_properties(${E2E_PREFIX}${case} PROPERTIES
      ENVIRONMENT "${E2E_ENVIRONMENT}"
      RUN_SERIAL TRUE TIMEOUT ${E2E_TIMEOUT} SKIP_REGULAR_EXPRESSION "skipped")
  endforeach()
endfunction()
