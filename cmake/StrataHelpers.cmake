# Small helpers that keep the per-folder build files short.

# engine_add_library(<name> [DEPS <libs>...])
# Every .cpp in the calling folder (and its sub-folders) is a source of the library.
function(engine_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    # A folder whose sources are still to come builds as an empty interface.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/engine ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# engine_add_test(<name> [DEPS <libs>...] [TIMEOUT <seconds>] [ENVIRONMENT <VAR=value>...])
# One test program of every *Test.cpp in the calling folder; each GoogleTest case becomes a CTest test.
# The leak checker's only exceptions are those of tests/lsan.supp, however the program is started.
function(engine_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "DEPS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/LeakCheckOptions.cpp)
  target_compile_definitions(${name} PRIVATE STRATA_LSAN_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/lsan.supp")
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # An unbraced if around EXPECT_* is safe (GoogleTest blocks the dangling else) but g++ still warns.
  target_compile_options(${name} PRIVATE -Wno-dangling-else)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${ARG_ENVIRONMENT}" LABELS ${name})
endfunction()
