# Helpers for the project's targets: GUI-free libraries (which must never link Qt), window
# libraries, programs and test suites, all with the project's warnings.

# The project's warnings on a target of our own; errors with VELMO_WERROR.
function(velmo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # GCC 12 reports overlapping copies inside std::string's operator+ when optimising (GCC bug
  # 105329, fixed in GCC 13): false positives in library code, not in ours.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(VELMO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# velmo_core_library(NAME SOURCES src... [LINKS lib...])
# A static library without Qt. Its headers are included by their path from the project's root
# ("pricefile/price_record.h"), so that each include names the library it comes from. Linking it to a Qt target fails the configure step (velmo_check_core_libraries).
function(velmo_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  velmo_warnings(${name})
  set_property(GLOBAL APPEND PROPERTY VELMO_CORE_LIBRARIES ${name})
endfunction()

# velmo_precompiled_headers(TARGET window|gtest), with -DVELMO_PCH=ON only: the Qt Widgets
# and standard headers of the windows and Qt tests, or GoogleTest's and the standard headers of
# the test suites, compiled once by the first target of each kind and reused by the others.
function(velmo_precompiled_headers target kind)
  if(NOT VELMO_PCH)
    return()
  endif()
  set_property(TARGET ${target} PROPERTY VELMO_PCH_KIND ${kind})
  get_property(first GLOBAL PROPERTY VELMO_PCH_${kind})
  # Through a precompiled header GCC 12 reports std::string's copies as overflowing (the same
  # false positive as GCC bug 105329 above): library code, not ours.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-stringop-overflow)
  endif()
  # A program with path declarations (velmo_test_definitions) gets a header of its own that
  # carries them; the first other program of each kind makes the one the rest reuse.
  get_target_property(paths ${target} VELMO_BUILD_PATHS)
  if(first AND NOT paths)
    target_precompile_headers(${target} REUSE_FROM ${first})
    return()
  endif()
  if(NOT paths)
    set_property(GLOBAL PROPERTY VELMO_PCH_${kind} ${target})
  endif()
  set(std <algorithm> <array> <cstdint> <filesystem> <functional> <map> <memory> <optional> <string>
          <string_view> <utility> <vector>)
  if(kind STREQUAL "window")
    target_precompile_headers(${target} PRIVATE ${std}
      <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QGridLayout> <QGroupBox>
      <QHBoxLayout> <QHeaderView> <QLabel> <QLineEdit> <QMenu> <QMenuBar> <QMouseEvent>
      <QPushButton> <QStatusBar> <QString> <QTreeWidget> <QVBoxLayout> <QWidget>)
  else()
    target_precompile_headers(${target} PRIVATE ${std} <gtest/gtest.h> <gmock/gmock.h>)
  endif()
  if(paths)
    target_precompile_headers(${target} PRIVATE ${paths})
  endif()
endfunction()

# velmo_window_library(NAME SOURCES src... [LINKS lib...])
# A static library of Qt widgets and windows.
function(velmo_window_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS} Qt6::Widgets)
  velmo_warnings(${name})
  velmo_precompiled_headers(${name} window)
endfunction()

# velmo_program(NAME SOURCES src... LINKS lib... [GUI])
# A program of the runnable program folder.
function(velmo_program name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS})
  if(ARG_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMO_PROGRAM_DIR})
  velmo_warnings(${name})
endfunction()

# velmo_test_definitions(TARGET def...)  (also used by the screens test and the benchmarks)
# The compile definitions of a test program. A path definition NAME="path" (a program or data
# folder of this build or source tree) becomes a constant in a source file generated for the
# program: the compile commands then name no folder, so that ccache finds the program's objects
# compiled in a clone in another folder. NAME stays usable where the path was: it names the
# constant, declared in a generated header that every source of the program includes first
# (velmo_include_build_paths, after velmo_precompiled_headers).
function(velmo_test_definitions target)
  set(declarations "// Generated by the build: the paths of this test program's build.\n")
  set(definitions "#include \"${target}_build_paths.h\"\n")
  set(names)
  foreach(def IN LISTS ARGN)
    if(def MATCHES "^([A-Za-z_][A-Za-z0-9_]*)=\"(.*)\"$")
      set(name ${CMAKE_MATCH_1})
      string(APPEND declarations "extern const char velmo_build_path_${name}[];\n")
      string(APPEND definitions "extern const char velmo_build_path_${name}[] = \"${CMAKE_MATCH_2}\";\n")
      target_compile_definitions(${target} PRIVATE ${name}=velmo_build_path_${name})
      list(APPEND names ${name})
    else()
      target_compile_definitions(${target} PRIVATE ${def})
    endif()
  endforeach()
  if(names)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_build_paths)
    file(GENERATE OUTPUT ${dir}/${target}_build_paths.h CONTENT "${declarations}")
    file(GENERATE OUTPUT ${dir}/${target}_build_paths.cpp CONTENT "${definitions}")
    target_sources(${target} PRIVATE ${dir}/${target}_build_paths.cpp)
    set_property(TARGET ${target} PROPERTY VELMO_BUILD_PATHS ${dir}/${target}_build_paths.h)
  endif()
endfunction()

# velmo_include_build_paths(TARGET): the declarations of the paths into every source of a
# program with path definitions, unless its precompiled header carries them.
function(velmo_include_build_paths target)
  get_target_property(header ${target} VELMO_BUILD_PATHS)
  get_target_property(pch ${target} VELMO_PCH_KIND)
  if(header AND NOT pch)
    target_compile_options(${target} PRIVATE -include ${header})
  endif()
endfunction()

# velmo_test_suite(NAME SOURCES src... LINKS lib... [DEFINITIONS def...] [DEPENDS target...])
# A GoogleTest program; every test case is a CTest test of its own.
function(velmo_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;DEFINITIONS;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest_main GTest::gmock)
  velmo_test_definitions(${name} ${ARG_DEFINITIONS})
  velmo_precompiled_headers(${name} gtest)
  velmo_include_build_paths(${name})
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  velmo_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# velmo_link_qt_test(TARGET): links Qt Test without its compile definitions, which name the
# test's source and build folders (for QFINDTESTDATA, which our tests do not use): without them
# the compile commands of a Qt test are the same in every clone, and ccache finds its objects.
function(velmo_link_qt_test target)
  target_link_libraries(${target} PRIVATE $<LINK_ONLY:Qt6::Test>)
  target_include_directories(${target} SYSTEM PRIVATE $<TARGET_PROPERTY:Qt6::Test,INTERFACE_INCLUDE_DIRECTORIES>)
  target_compile_definitions(${target} PRIVATE QT_TESTLIB_LIB)
endfunction()

# velmo_qt_test(SOURCE file LINKS lib... [DEFINITIONS def...] [DEPENDS target...])
# A Qt Test program named after its source file, run offscreen.
function(velmo_qt_test)
  cmake_parse_arguments(ARG "" "SOURCE" "LINKS;DEFINITIONS;DEPENDS" ${ARGN})
  get_filename_component(name ${ARG_SOURCE} NAME_WE)
  add_executable(${name} ${ARG_SOURCE} ${VELMO_TEST_COMMON_DIR}/qt_test_failure.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS})
  velmo_link_qt_test(${name})
  # VELMO_QT_TEST: the shared test helpers report failures through Qt Test, not GoogleTest.
  velmo_test_definitions(${name} VELMO_QT_TEST ${ARG_DEFINITIONS})
  velmo_precompiled_headers(${name} window)
  velmo_include_build_paths(${name})
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  velmo_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Whether `target` links a Qt target, directly or through the libraries it links.
function(_velmo_links_qt target result)
  set(${result} FALSE PARENT_SCOPE)
  get_property(seen GLOBAL PROPERTY _VELMO_SEEN)
  if(target IN_LIST seen)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY _VELMO_SEEN ${target})
  if(target MATCHES "^Qt[0-9]*::")
    set(${result} TRUE PARENT_SCOPE)
    return()
  endif()
  if(NOT TARGET ${target})
    return()
  endif()
  get_target_property(links ${target} LINK_LIBRARIES)
  get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS links interface)
    if(lib AND NOT lib MATCHES "NOTFOUND$")
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
      _velmo_links_qt(${lib} found)
      if(found)
        set(${result} TRUE PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
endfunction()

# Fails the configure step when a GUI-free library links Qt, or when a file of its folder
# includes a Qt header.
function(velmo_check_core_libraries)
  get_property(libraries GLOBAL PROPERTY VELMO_CORE_LIBRARIES)
  foreach(lib IN LISTS libraries)
    set_property(GLOBAL PROPERTY _VELMO_SEEN "")
    _velmo_links_qt(${lib} found)
    if(found)
      message(FATAL_ERROR "The GUI-free library ${lib} links Qt; window code belongs in a window library.")
    endif()
    get_target_property(folder ${lib} SOURCE_DIR)
    file(GLOB files ${folder}/*.h ${folder}/*.cpp)
    foreach(f IN LISTS files)
      file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
      if(includes)
        message(FATAL_ERROR "${f} of the GUI-free library ${lib} includes a Qt header: ${includes}")
      endif()
    endforeach()
  endforeach()
endfunction()
