# Build helpers shared by every folder: warnings, sanitizers, the layer rule
# (no Qt below ui/) and one function that adds a GoogleTest executable.

set(VST_WARNINGS -Wall -Wextra -Wpedantic)
if(VST_SANITIZE)
  set(VST_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${VST_SAN_FLAGS})
  add_link_options(${VST_SAN_FLAGS})
endif()

set_property(GLOBAL PROPERTY VST_TOOLKIT_FREE_LIBS "")

# vst_library(NAME SOURCES ... [DEPS ...] [QT])
# A static library of one layer. Without QT the library is toolkit-free and
# vst_check_layers() fails the configuration if Qt reaches it.
function(vst_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${VST_WARNINGS})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  if(NOT ARG_QT)
    set_property(GLOBAL APPEND PROPERTY VST_TOOLKIT_FREE_LIBS ${name})
  endif()
endfunction()

# vst_test(NAME SOURCES ... LIBS ... [GUI])
# One test executable. GUI tests run on Qt's offscreen platform and are added
# as one ctest test each; the others are split into their GoogleTest cases.
function(vst_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_options(${name} PRIVATE ${VST_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE VST_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/data"
                                             VST_BIN_DIR="${VST_OUTPUT_DIR}")
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# Fails the configuration when a toolkit-free library links Qt, directly or
# through one of its dependencies.
function(vst_check_layers)
  get_property(libs GLOBAL PROPERTY VST_TOOLKIT_FREE_LIBS)
  foreach(lib IN LISTS libs)
    set(todo ${lib})
    set(seen "")
    while(todo)
      list(POP_FRONT todo cur)
      if(cur IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${cur})
      if(cur MATCHES "^Qt[0-9]*::")
        message(FATAL_ERROR "Layer rule: ${lib} must not use Qt (reached ${cur})")
      endif()
      if(TARGET ${cur})
        get_target_property(deps ${cur} INTERFACE_LINK_LIBRARIES)
        if(deps)
          list(APPEND todo ${deps})
        endif()
      endif()
    endwhile()
  endforeach()
endfunction()
