cmake_policy(SET CMP0057 NEW)  # IN_LIST
# Reads the #include lines of every source file under SRC_DIR/<layer>/ and
# fails when one names a header of a layer that the table in Layers.cmake does
# not allow, a folder that is not a layer, or a Qt header outside the Qt
# layers. Run as: cmake -DSRC_DIR=<dir> -P CheckLayers.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

if(NOT SRC_DIR)
  message(FATAL_ERROR "CheckLayers: SRC_DIR is not set")
endif()

set(problems "")
file(GLOB dirs LIST_DIRECTORIES true RELATIVE ${SRC_DIR} ${SRC_DIR}/*)
foreach(dir IN LISTS dirs)
  if(NOT IS_DIRECTORY ${SRC_DIR}/${dir})
    continue()
  endif()
  if(NOT dir IN_LIST VST_LAYERS)
    list(APPEND problems "src/${dir}/ is not a layer of cmake/Layers.cmake")
    continue()
  endif()
  set(allowed ${dir} ${VST_LAYER_USES_${dir}})
  file(GLOB_RECURSE files RELATIVE ${SRC_DIR} ${SRC_DIR}/${dir}/*.h ${SRC_DIR}/${dir}/*.cpp)
  foreach(f IN LISTS files)
    file(STRINGS ${SRC_DIR}/${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([^/\"]+)/")
        set(target ${CMAKE_MATCH_1})
        if(NOT target IN_LIST allowed)
          list(APPEND problems "src/${f}: '${line}' points from ${dir}/ to ${target}/, which ${dir}/ may not use")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z0-9_]*|qt[a-z0-9_]*)[/>.]")
        if(NOT dir IN_LIST VST_QT_LAYERS)
          list(APPEND problems "src/${f}: '${line}' uses Qt below the Qt layers")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Layer rule broken:\n  ${text}")
endif()
