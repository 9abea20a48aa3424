# A few seconds of each fuzz target (built natively with clang), so that they stay buildable and the corpus keeps passing.
add_test(NAME fuzz_smoke COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fuzz --smoke --build ${CMAKE_BINARY_DIR}/fuzz)
set_tests_properties(fuzz_smoke PROPERTIES TIMEOUT 300)
