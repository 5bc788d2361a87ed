# Compiler flags shared by every target of the project.
add_compile_options(-Wall -Wextra -Werror)
# GCC 12 at -O2/-O3 reports a false -Wrestrict inside std::string's operator+ (GCC bug 105329):
# keep it visible as a warning, not an error, so optimised builds are not stopped by the library.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-error=restrict)
endif()

if(QEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

if(QEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QEL_FUZZ needs clang (configure with CC=clang CXX=clang++)")
  endif()
  # Instrument every library for coverage; the fuzz executables add the fuzzer main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# qel_library(NAME DIR [DEPS ...]): one static library from the sources of one folder.
# Sources are collected per folder so that adding a file needs no edit here.
function(qel_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()  # a layer not written yet
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# qel_test(NAME LABEL [DEPS ...]): one GoogleTest executable from the sources of one tests folder.
# Each test process runs in a private scratch directory (see tests/support/test_main.cpp),
# so the debug log and any written file never meet another process's.
function(qel_test name label)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} qel_test_support GTest::gtest)
  target_compile_definitions(${name} PRIVATE
    QEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QEL_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared")
  gtest_discover_tests(${name} PROPERTIES LABELS ${label} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()
