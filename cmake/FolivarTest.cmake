# folivar_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One QtTest executable per test folder, run headless by ctest.
function(folivar_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;FOLIVAR_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    TIMEOUT ${ARG_TIMEOUT})
endfunction()
