# Fails when a folder of the sensor includes a header of a layer above it.
# The layers, bottom first; a folder may include its own headers and those
# of the folders before it. The profile tool sits on config and platform.
#   cmake -DSOURCE_DIR=<repository> -P cmake/CheckLayers.cmake
set(layers platform output config rfc rfc/netweaver measure driver)
set(tool_layers platform output config tools/profile_tool)

function(check_folder folder allowed)
  file(GLOB sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"(.*)/[^/]*\".*" "\\1" included "${line}")
      if(included STREQUAL line)
        continue()  # a header without a folder
      endif()
      list(FIND all_folders "${included}" known)
      list(FIND allowed "${included}" permitted)
      if(known GREATER -1 AND permitted EQUAL -1)
        file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
        message(SEND_ERROR "${name}: ${line} reaches above the layer ${folder}")
      endif()
    endforeach()
  endforeach()
endfunction()

set(all_folders ${layers} tools/profile_tool include)
file(GLOB apart "${SOURCE_DIR}/include/*")
if(apart)
  message(SEND_ERROR "include/: every header lies beside its implementation")
endif()
set(allowed "")
foreach(folder IN LISTS layers)
  list(APPEND allowed "${folder}")
  check_folder("${folder}" "${allowed}")
endforeach()
check_folder(tools/profile_tool "${tool_layers}")
