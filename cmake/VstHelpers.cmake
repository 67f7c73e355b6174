# Build helpers shared by every folder: warnings, sanitizers, the layer rule
# (no Qt below ui/) and one function that adds a GoogleTest executable.

set(VST_WARNINGS -Wall -Wextra -Wpedantic)
if(VST_SANITIZE)
  set(VST_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${VST_SAN_FLAGS})
  add_link_options(${VST_SAN_FLAGS})
endif()

# Links through lld when the compiler can use it (Debian's lld): GNU ld spends
# seconds on every test program's debug information, which no compiler cache
# keeps, so a build that compiles nothing still paid a minute in links.
option(VST_LLD "Link with lld when it is installed" ON)
if(VST_LLD)
  include(CheckLinkerFlag)
  check_linker_flag(CXX -fuse-ld=lld VST_LINKER_LLD)
  if(VST_LINKER_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
endif()

option(VST_WARNINGS_AS_ERRORS "Treat compiler warnings as errors (CI turns this on)" OFF)
if(VST_WARNINGS_AS_ERRORS)
  list(APPEND VST_WARNINGS -Werror)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

# vst_library(SOURCES ... [DEPS ...])
# The static library vst_<folder> of the layer in the calling folder. Qt may
# be among DEPS only in the Qt layers; vst_check_layers() holds every link
# against the table in Layers.cmake.
function(vst_library)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  if(NOT layer IN_LIST VST_LAYERS)
    message(FATAL_ERROR "vst_library called in ${CMAKE_CURRENT_SOURCE_DIR}, which is not a layer")
  endif()
  set(name vst_${layer})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  # Position independent, as the PDF module of vantrel-design links them (the
  # same objects serve the programs and the module). The code may still inline
  # and call its own functions directly: no function of these libraries is
  # meant to be replaced by another library's at run time.
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${name} PRIVATE ${VST_WARNINGS} -fno-semantic-interposition)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  set_property(GLOBAL APPEND PROPERTY VST_LAYER_LIBS ${layer})
endfunction()

# Precompiled headers of the tests: GoogleTest and the standard headers most
# tests use, compiled once by vst_test_pch (a target that compiles nothing
# else, with a test's flags) for every test but the GUI tests. The GUI tests
# add Qt's test library and the widgets they drive, compiled once by
# vst_gui_test_pch with the first GUI test's libraries. Every test is compiled
# with -fPIC, as Qt asks of its users, so that one header serves the tests
# that link Qt and those that do not: a precompiled header is used only with
# the -fPIC setting it was made with. (CMAKE_DISABLE_PRECOMPILE_HEADERS=ON
# turns them off, to check that each file includes what it uses.)
set(VST_TEST_PCH <gtest/gtest.h> <algorithm> <cmath> <filesystem> <fstream> <functional> <memory> <string> <vector>)
set(VST_GUI_TEST_PCH ${VST_TEST_PCH} <QApplication> <QTest> <QTimer> <QAction> <QComboBox> <QLabel> <QLineEdit>
                     <QMenuBar> <QPushButton> <QTemporaryDir>)

# The flags every test is compiled with. Tests are optimised for debugging
# (-Og, after the build type's level): the code they test keeps the build's
# optimisation, GCC's flow warnings (uninitialised values among them) still
# see the tests, and their compiles, half of a build, take 40 % less time.
# The sanitizer build compiles them at -O0 (its preset): the instrumented
# tests then compile in half the time, and its warnings are not the check.
set(VST_TEST_OPTIMIZATION -Og CACHE STRING "Optimisation level of the tests' own code (after the build type's)")
function(vst_test_flags target)
  target_compile_options(${target} PRIVATE ${VST_WARNINGS} -fPIC ${VST_TEST_OPTIMIZATION})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
endfunction()

# Where the tests find the programs and the data folder, beside the test
# programs (read by tests/support/test_paths.h), so that no compile flag holds
# the checkout's path and ccache serves the tests of any clone.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/tests/test_paths.txt CONTENT "${VST_OUTPUT_DIR}\n${PROJECT_SOURCE_DIR}/data\n")

# vst_test_pch(PCH_TARGET HEADERS LIBS...): the target that precompiles
# HEADERS with the flags of a test linking LIBS, made on first use.
function(vst_test_pch pch headers)
  if(TARGET ${pch})
    return()
  endif()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/${pch}.cpp CONTENT "// Compiles a precompiled header and nothing else.\n")
  add_library(${pch} OBJECT ${CMAKE_BINARY_DIR}/${pch}.cpp)
  vst_test_flags(${pch})
  target_link_libraries(${pch} PRIVATE ${ARGN})
  target_precompile_headers(${pch} PRIVATE ${${headers}})
endfunction()

# The sources of one test program are compiled as one file: GoogleTest's and
# the standard library's templates are then instantiated and optimised once a
# program instead of once a file, a third of the tests' compile time. Off, a
# change to one test file recompiles that file alone. The file that includes
# them names them relative to tests/ (CMake's own unity files name the
# checkout's folder, so ccache could not serve them to another clone).
option(VST_UNITY_TESTS "Compile the sources of each test program together" ON)

# vst_test_sources(OUT NAME SOURCES...): what the test program NAME compiles.
function(vst_test_sources out name)
  list(LENGTH ARGN count)
  if(NOT VST_UNITY_TESTS OR count LESS 2)
    set(${out} ${ARGN} PARENT_SCOPE)
    return()
  endif()
  set(body "// The sources of ${name}, compiled as one file.\n")
  foreach(src IN LISTS ARGN)
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR}/${src})
    string(APPEND body "#include \"${rel}\"\n")
  endforeach()
  set(all ${CMAKE_CURRENT_BINARY_DIR}/${name}_sources.cpp)
  file(CONFIGURE OUTPUT ${all} CONTENT "${body}")
  # The sources stay in the target, for editors, but are compiled through it.
  set_source_files_properties(${ARGN} PROPERTIES HEADER_FILE_ONLY ON)
  set(${out} ${all} ${ARGN} PARENT_SCOPE)
endfunction()

# vst_test(NAME SOURCES ... LIBS ... [GUI])
# One test executable. GUI tests run on Qt's offscreen platform and are added
# as one ctest test each; the others are split into their GoogleTest cases.
function(vst_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  vst_test_sources(sources ${name} ${ARG_SOURCES})
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  vst_test_flags(${name})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
    vst_test_pch(vst_gui_test_pch VST_GUI_TEST_PCH ${ARG_LIBS} GTest::gtest)
    target_precompile_headers(${name} REUSE_FROM vst_gui_test_pch)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
    vst_test_pch(vst_test_pch VST_TEST_PCH GTest::gtest)
    target_precompile_headers(${name} REUSE_FROM vst_test_pch)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# Fails the configuration when a layer's library links (PUBLIC, PRIVATE or
# INTERFACE, directly) a layer the table does not allow, or Qt outside the Qt
# layers, or when a layer folder has no library. The include lines are checked
# on every build by the vst_layer_check target.
function(vst_check_layers)
  get_property(built GLOBAL PROPERTY VST_LAYER_LIBS)
  foreach(layer IN LISTS VST_LAYERS)
    if(layer STREQUAL "app" OR (layer STREQUAL "ui" AND NOT VST_BUILD_GUI))
      continue()
    endif()
    if(NOT layer IN_LIST built AND EXISTS ${PROJECT_SOURCE_DIR}/src/${layer})
      message(FATAL_ERROR "Layer rule: src/${layer}/ builds no vst_${layer} library")
    endif()
  endforeach()
  foreach(layer IN LISTS built)
    set(allowed ${VST_LAYER_USES_${layer}})
    get_target_property(links vst_${layer} LINK_LIBRARIES)
    get_target_property(ilinks vst_${layer} INTERFACE_LINK_LIBRARIES)
    foreach(dep IN LISTS links ilinks)
      if(dep MATCHES "^vst_(.+)$")
        if(NOT CMAKE_MATCH_1 IN_LIST allowed)
          message(FATAL_ERROR "Layer rule: vst_${layer} links ${dep}, which ${layer}/ may not use")
        endif()
      elseif(dep MATCHES "^Qt[0-9]*::" AND NOT layer IN_LIST VST_QT_LAYERS)
        message(FATAL_ERROR "Layer rule: vst_${layer} must not use Qt (links ${dep})")
      endif()
    endforeach()
    get_target_property(incs vst_${layer} INCLUDE_DIRECTORIES)
    foreach(inc IN LISTS incs)
      if(inc MATCHES "[Qq]t6" AND NOT layer IN_LIST VST_QT_LAYERS)
        message(FATAL_ERROR "Layer rule: vst_${layer} must not use Qt (include folder ${inc})")
      endif()
    endforeach()
  endforeach()
  # Every build reads the include lines again.
  add_custom_target(vst_layer_check ALL
    COMMAND ${CMAKE_COMMAND} -DSRC_DIR=${PROJECT_SOURCE_DIR}/src -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMENT "Checking that every include points down the layers"
    VERBATIM)
  foreach(layer IN LISTS built)
    add_dependencies(vst_${layer} vst_layer_check)
  endforeach()
endfunction()

# Qt's test library, Qt6::Test, without the checkout's folders it defines
# (QT_TESTCASE_BUILDDIR and QT_TESTCASE_SOURCEDIR) for QFINDTESTDATA, which
# no test uses: the tests read their paths from test_paths.txt. Without them
# no compile names the checkout, so ccache serves the GUI tests and their
# precompiled header of one clone to another; with them a header cached from
# another clone would not match the tests' definitions and be refused.
# VST_QT_TEST_WITHOUT_FOLDERS stands in their place: a compiler cache that was
# once told to leave them out of its hash holds objects and headers compiled
# with them under the same key as a compile without them; the definition of
# our own gives the compiles without them keys of their own.
macro(vst_find_qt_test)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  get_target_property(vst_qt_test_definitions Qt6::Test INTERFACE_COMPILE_DEFINITIONS)
  list(FILTER vst_qt_test_definitions EXCLUDE REGEX "^QT_TESTCASE_")
  list(APPEND vst_qt_test_definitions VST_QT_TEST_WITHOUT_FOLDERS)
  set_target_properties(Qt6::Test PROPERTIES INTERFACE_COMPILE_DEFINITIONS "${vst_qt_test_definitions}")
endmacro()
