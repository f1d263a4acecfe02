find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)

pkg_check_modules(FLAC REQUIRED IMPORTED_TARGET flac)
pkg_check_modules(SOX REQUIRED IMPORTED_TARGET sox)

find_library(MP3LAME_LIBRARY NAMES mp3lame REQUIRED)
find_path(MP3LAME_INCLUDE_DIR NAMES lame/lame.h REQUIRED)
add_library(Kestrune::mp3lame UNKNOWN IMPORTED)
set_target_properties(Kestrune::mp3lame PROPERTIES
  IMPORTED_LOCATION ${MP3LAME_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${MP3LAME_INCLUDE_DIR})

find_path(SIMPLEINI_INCLUDE_DIR NAMES SimpleIni.h REQUIRED)

if(KESTRUNE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
endif()
if(KESTRUNE_BUILD_BENCH)
  find_package(benchmark REQUIRED)
endif()
if(KESTRUNE_BUILD_UI)
  find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Test DBus Network Svg)
endif()

# Registers a GoogleTest program with CTest. THREADED marks the programs that
# also run under ThreadSanitizer.
function(kestrune_add_test name)
  cmake_parse_arguments(ARG "THREADED;GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set(labels unit)
  if(ARG_THREADED)
    list(APPEND labels threaded)
  endif()
  set(env "KESTRUNE_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data"
          "KESTRUNE_FLAC_BENCH=${CMAKE_SOURCE_DIR}/../shared/flac-test-files"
          "KESTRUNE_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
  if(ARG_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" ENVIRONMENT "${env}" TIMEOUT 900)
endfunction()

# Adds every sub-folder of the current folder that has a CMakeLists.txt; a
# folder holding a file NEEDS_QT is left out of builds without Qt.
function(kestrune_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${entries})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      if(NOT KESTRUNE_BUILD_UI AND EXISTS ${dir}/NEEDS_QT)
        continue()
      endif()
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
