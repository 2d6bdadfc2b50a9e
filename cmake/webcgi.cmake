# Helpers shared by the folders' CMakeLists.

# Device root launcher used by every test that touches a device path.
set(WEBCGI_DEVROOT ${CMAKE_SOURCE_DIR}/tools/devroot)
# Under cross builds the tests run through the emulator (qemu-arm).
set(WEBCGI_EMULATOR ${CMAKE_CROSSCOMPILING_EMULATOR})

# webcgi_module(NAME sources... [LIBS libs...])
# A handler module: a static library linked whole into webcgi.
function(webcgi_module name)
  cmake_parse_arguments(M "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${M_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PUBLIC entry ${M_LIBS})
  set_property(GLOBAL APPEND PROPERTY WEBCGI_MODULES ${name})
endfunction()

# webcgi_test(NAME sources... [LIBS libs...] [WHOLE libs...] [HOST])
# A GoogleTest program run by CTest inside the device root (unless HOST).
# WHOLE links module libraries whole so that their endpoint tables register.
function(webcgi_test name)
  cmake_parse_arguments(T "HOST" "" "LIBS;WHOLE" ${ARGN})
  if(NOT WEBCGI_TESTS)
    return()
  endif()
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  set(whole "")
  if(T_WHOLE)
    set(whole "$<LINK_LIBRARY:WHOLE_ARCHIVE,${T_WHOLE}>")
  endif()
  target_link_libraries(${name} PRIVATE ${whole} ${T_LIBS} testsupport GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_HOST)
    add_test(NAME ${name} COMMAND ${WEBCGI_EMULATOR} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${WEBCGI_DEVROOT} ${WEBCGI_EMULATOR} $<TARGET_FILE:${name}>)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# webcgi_coresim_test(NAME sources...)
# An end-to-end test of a module: the built webcgi against coresim.
function(webcgi_coresim_test name)
  webcgi_test(${name} ${ARGN})
  if(TARGET ${name})
    target_compile_definitions(${name} PRIVATE CORESIM_PROGRAM="$<TARGET_FILE:coresim>")
    add_dependencies(${name} coresim webcgi)
  endif()
endfunction()
