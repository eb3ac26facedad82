cmake_minimum_required(VERSION 3.25)
# Fails when a file includes what its layer may not see. Run as
#   cmake -DSOURCE_DIR=<project root> -P check_layers.cmake
# Each layer may include only its own headers and those of the layers below it; the two back
# ends (platform/qt, platform/sim) never meet in one file, and only they pass the back ends'
# door (platform/back_end.h).

# Checks the files of dir (recursively unless flat). An include of "top/..." must start with
# one of allowed and with none of forbidden; includes without a folder are the file's own.
function(check_layer dir allowed forbidden)
  cmake_parse_arguments(PARSE_ARGV 3 arg "FLAT" "" "")
  if(arg_FLAT)
    file(GLOB files "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.cpp")
  else()
    file(GLOB_RECURSE files "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.cpp")
  endif()
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^#include \"[a-z_]+/")
    file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
    set(back_ends "")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" path "${line}")
      set(ok FALSE)
      foreach(prefix IN LISTS allowed)
        string(FIND "${path}" "${prefix}" at)
        if(at EQUAL 0)
          set(ok TRUE)
        endif()
      endforeach()
      foreach(prefix IN LISTS forbidden)
        string(FIND "${path}" "${prefix}" at)
        if(at EQUAL 0)
          set(ok FALSE)
        endif()
      endforeach()
      if(NOT ok)
        message(SEND_ERROR "${rel} reaches beyond its layer: ${line}")
      endif()
      if(path MATCHES "^platform/(qt|sim)/")
        list(APPEND back_ends "${CMAKE_MATCH_1}")
      endif()
    endforeach()
    list(REMOVE_DUPLICATES back_ends)
    list(LENGTH back_ends count)
    if(count GREATER 1)
      message(SEND_ERROR "${rel} includes both back ends, platform/qt and platform/sim")
    endif()
  endforeach()
endfunction()

set(back_ends "platform/qt/;platform/sim/;platform/back_end.h")
set(windows "platform/;common/;monitors/;imct/;console/")

check_layer(src/platform "platform/" "${back_ends}" FLAT)
check_layer(src/platform/qt "platform/" "platform/sim/")
check_layer(src/platform/sim "platform/" "platform/qt/")
check_layer(src/common "platform/;common/" "${back_ends}")
check_layer(src/monitors "platform/;common/;monitors/" "${back_ends}")
check_layer(src/imct "platform/;common/;imct/" "${back_ends}")
check_layer(src/console "${windows}" "${back_ends}")
check_layer(src/app "platform/;console/" "platform/sim/;platform/back_end.h")
# The port services are no part of the program: they see only platform/'s plain helpers.
check_layer(sites "platform/;sites/" "${back_ends}")
# Tests drive windows as a user does, through the simulated desktop or the real program, never
# through the back ends' door.
check_layer(tests/unit "${windows};platform/sim/;sites/" "platform/qt/;platform/back_end.h")
check_layer(tests/scenario "${windows};platform/sim/;sites/;scenario/"
            "platform/qt/;platform/back_end.h")
check_layer(tests/e2e "${windows};platform/qt/" "platform/sim/;platform/back_end.h;sites/")
check_layer(bench "${windows};platform/qt/;platform/sim/;sites/" "platform/back_end.h")
