# Reads the dynamic tables of rfcsim's Linux NetWeaver stand-in,
# libsapnwrfc.so, and of its companion libsapucum.so with binutils' nm and
# readelf, and fails unless they are what a program that loads SAP's library
# at run time, and the host it runs on, expect:
#
#   CHECK=exports  libsapnwrfc.so defines exactly the functions of
#                  sapnwrfc.def, by their plain names: none missing, nothing
#                  of rfcsim or the C++ runtime besides; libsapucum.so only
#                  its rfcsim_ucum_ functions, among them every one that
#                  libsapnwrfc.so calls, and libsapnwrfc.so calls some
#   CHECK=dynamic  each library's SONAME is its file name, neither has an
#                  RPATH or RUNPATH, libsapnwrfc.so needs libsapucum.so,
#                  and with STATIC_RUNTIME=ON neither needs a library
#                  beyond glibc's (the C++ runtime is linked in)
#
#   cmake -DNM=<nm> -DREADELF=<readelf> -DLIBRARY=<libsapnwrfc.so>
#         -DCOMPANION=<libsapucum.so> -DDEF=<sapnwrfc.def> -DCHECK=exports|dynamic
#         [-DSTATIC_RUNTIME=ON] -P check_so_tables.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/StandInExports.cmake)

foreach(variable NM READELF LIBRARY COMPANION DEF CHECK)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check_so_tables.cmake needs -D${variable}=...")
  endif()
endforeach()
set(companion_prefix rfcsim_ucum_)
set(glibc_libraries libc.so.6 libm.so.6 ld-linux-x86-64.so.2)

# The output of one command as a list of lines; fails with its errors.
function(read_lines out_var)
  execute_process(COMMAND ${ARGN}
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${result}): ${errors}")
  endif()
  string(REPLACE ";" "\\;" output "${output}")
  string(REPLACE "\n" ";" lines "${output}")
  set(${out_var} "${lines}" PARENT_SCOPE)
endfunction()

# The names of the dynamic symbols nm lists with `option`, sorted; a
# version suffix (name@@VERSION) is dropped.
function(dynamic_symbols library option out_var)
  read_lines(lines ${NM} -D ${option} ${library})
  set(names)
  foreach(line IN LISTS lines)
    if(line MATCHES "([^ \t@]+)(@.*)?$")
      list(APPEND names "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(SORT names)
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()

if(CHECK STREQUAL "exports")
  bw_def_file_exports("${DEF}" expected)
  list(SORT expected)
  dynamic_symbols(${LIBRARY} --defined-only found)
  bw_require_exports(${LIBRARY} "${found}" "${expected}")

  dynamic_symbols(${COMPANION} --defined-only offered)
  set(foreign ${offered})
  list(FILTER foreign EXCLUDE REGEX "^${companion_prefix}")
  if(foreign)
    message(FATAL_ERROR "${COMPANION} exports more than its own functions: ${foreign}")
  endif()
  dynamic_symbols(${LIBRARY} --undefined-only called)
  list(FILTER called INCLUDE REGEX "^${companion_prefix}")
  if(NOT called)
    message(FATAL_ERROR "${LIBRARY} calls nothing in ${COMPANION}")
  endif()
  set(unresolved ${called})
  list(REMOVE_ITEM unresolved ${offered})
  if(unresolved)
    message(FATAL_ERROR "${LIBRARY} calls what ${COMPANION} does not export: ${unresolved}")
  endif()
  list(LENGTH found count)
  list(JOIN called ", " called)
  message(STATUS "${LIBRARY}: exactly the ${count} functions of ${DEF}; "
    "it calls ${called} in ${COMPANION}")
elseif(CHECK STREQUAL "dynamic")
  foreach(library IN ITEMS ${LIBRARY} ${COMPANION})
    read_lines(lines ${READELF} -d ${library})
    get_filename_component(file_name ${library} NAME)
    set(soname)
    set(needed)
    foreach(line IN LISTS lines)
      if(line MATCHES "\\(SONAME\\).*\\[(.*)\\]")
        set(soname "${CMAKE_MATCH_1}")
      elseif(line MATCHES "\\(NEEDED\\).*\\[(.*)\\]")
        list(APPEND needed "${CMAKE_MATCH_1}")
      elseif(line MATCHES "\\((RPATH|RUNPATH)\\).*\\[(.*)\\]")
        message(FATAL_ERROR "${library} has ${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
      endif()
    endforeach()
    if(NOT soname STREQUAL file_name)
      message(FATAL_ERROR "${library}: SONAME '${soname}', not '${file_name}'")
    endif()
    set(foreign ${needed})
    if(library STREQUAL LIBRARY)
      get_filename_component(companion_name ${COMPANION} NAME)
      if(NOT companion_name IN_LIST needed)
        message(FATAL_ERROR "${library} does not need ${companion_name}: needs ${needed}")
      endif()
      list(REMOVE_ITEM foreign ${companion_name})
    endif()
    if(STATIC_RUNTIME AND foreign)
      list(REMOVE_ITEM foreign ${glibc_libraries})
      if(foreign)
        message(FATAL_ERROR "${library} needs libraries beyond glibc: ${foreign}")
      endif()
    endif()
    list(JOIN needed ", " needed)
    message(STATUS "${library}: SONAME ${soname}, no RPATH or RUNPATH, needs ${needed}")
  endforeach()
else()
  message(FATAL_ERROR "CHECK must be exports or dynamic, not '${CHECK}'")
endif()
