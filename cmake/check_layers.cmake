cmake_minimum_required(VERSION 3.25)
# Fails when a layer includes a header of a layer above it. Run as
#   cmake -DSOURCE_DIR=<src> -P check_layers.cmake
# Each layer may include only its own headers and those of the layers below it.

function(check_layer dir allowed_dirs)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" top "${line}")
      if(NOT top IN_LIST allowed_dirs)
        file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
        message(SEND_ERROR "${rel} reaches up: ${line}")
      endif()
    endforeach()
  endforeach()
endfunction()

# The simulated back end serves the simulated sites in-process.
check_layer(platform "platform;sites")
check_layer(common "platform;common")
check_layer(monitors "platform;common;monitors")
check_layer(imct "platform;common;imct")
check_layer(console "platform;common;monitors;imct;console")
