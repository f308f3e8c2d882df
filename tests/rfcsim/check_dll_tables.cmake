# Reads the export or import table of one of rfcsim's DLLs (librfc32.dll,
# or sapnwrfc.dll with -DLIBRARY=sapnwrfc) with MinGW's objdump and fails
# unless it is what a caller of SAP's library, and the monitor host, expect:
#
#   CHECK=exports  exactly the entry points of SAP's library that rfcsim
#                  implements, by their plain names
#   CHECK=imports  Windows' own DLLs only (the MinGW runtime is linked in)
#
#   cmake -DOBJDUMP=<objdump> -DDLL=<dll> [-DLIBRARY=librfc32|sapnwrfc] -DCHECK=exports|imports
#         -P check_dll_tables.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/StandInExports.cmake)

if(NOT DEFINED LIBRARY)
  set(LIBRARY librfc32)
endif()
if(LIBRARY STREQUAL "librfc32")
  set(expected_exports
    ItCreate ItDelete ItFill ItGetLine
    RfcCall RfcClose RfcEnvironment RfcInstallStructure RfcLastError RfcOpen RfcOpenEx
    RfcReceive)
elseif(LIBRARY STREQUAL "sapnwrfc")
  set(expected_exports
    RfcCloseConnection RfcCreateFunction RfcDescribeType RfcDestroyFunction RfcGetBytes
    RfcGetChars RfcGetCurrentRow RfcGetFieldCount RfcGetFieldDescByIndex RfcGetFunctionDesc
    RfcGetInt RfcGetInt1 RfcGetInt2 RfcGetParameterCount RfcGetParameterDescByIndex
    RfcGetRowCount RfcGetString RfcGetStructure RfcGetTable RfcInvoke RfcMoveTo
    RfcOpenConnection RfcSetChars)
else()
  message(FATAL_ERROR "LIBRARY must be librfc32 or sapnwrfc, not '${LIBRARY}'")
endif()
# Compared without regard to case: the loader does so too.
set(allowed_imports kernel32.dll msvcrt.dll)

foreach(variable OBJDUMP DLL CHECK)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check_dll_tables.cmake needs -D${variable}=...")
  endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${DLL}
  OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed (${result}): ${errors}")
endif()
string(REPLACE ";" "\\;" dump "${dump}")
string(REPLACE "\n" ";" lines "${dump}")

if(CHECK STREQUAL "exports")
  # The names follow the line "[Ordinal/Name Pointer] Table", one a line as
  # "[   0] RfcCall" (or "[   0] +base[   1] 0000 RfcCall"), up to a blank line.
  set(found)
  set(in_table FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "\\[Ordinal/Name Pointer\\] Table")
      set(in_table TRUE)
    elseif(in_table)
      if(line MATCHES "^[ \t]*$")
        break()
      endif()
      string(STRIP "${line}" line)
      string(REGEX MATCH "[^ ]+$" name "${line}")
      list(APPEND found "${name}")
    endif()
  endforeach()
  list(SORT found)
  list(SORT expected_exports)
  bw_require_exports(${DLL} "${found}" "${expected_exports}")
  list(LENGTH found count)
  message(STATUS "${DLL}: exactly the ${count} expected exports")
elseif(CHECK STREQUAL "imports")
  set(found)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*DLL Name: (.+)$")
      string(STRIP "${CMAKE_MATCH_1}" name)
      string(TOLOWER "${name}" name)
      list(APPEND found "${name}")
    endif()
  endforeach()
  if(NOT found)
    message(FATAL_ERROR "no imports found in ${DLL}: is it a DLL?")
  endif()
  set(foreign ${found})
  list(REMOVE_ITEM foreign ${allowed_imports})
  if(foreign)
    message(FATAL_ERROR "${DLL} needs DLLs that are not Windows' own: ${foreign}")
  endif()
  message(STATUS "${DLL} imports only ${found}")
else()
  message(FATAL_ERROR "CHECK must be exports or imports, not '${CHECK}'")
endif()
