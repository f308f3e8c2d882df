# The exports of rfcsim's stand-in libraries, for the build and for the
# tests that read the built libraries' tables.

# The names a module-definition (.def) file exports, without their __stdcall
# decoration (RfcOpenConnection@12 -> RfcOpenConnection): what a stand-in
# library exports on every platform. The build writes the Linux stand-ins'
# version scripts from them.
function(bw_def_file_exports def_file out_var)
  file(READ "${def_file}" text)
  # Everything after the line EXPORTS, without the comments (from ';').
  if(NOT text MATCHES "(^|\n)EXPORTS[ \t]*\n(.*)$")
    message(FATAL_ERROR "${def_file} has no EXPORTS section")
  endif()
  set(exports "${CMAKE_MATCH_2}")
  string(REGEX REPLACE ";[^\n]*" "" exports "${exports}")
  string(REGEX REPLACE "@[0-9]+" "" exports "${exports}")
  string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" names "${exports}")
  if(NOT names)
    message(FATAL_ERROR "${def_file} exports nothing")
  endif()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()

# Fails unless `found`, the names `library` exports, are exactly `expected`
# (both lists sorted), naming those missing and those exported besides.
function(bw_require_exports library found expected)
  if(found STREQUAL expected)
    return()
  endif()
  set(missing ${expected})
  set(extra ${found})
  if(found)
    list(REMOVE_ITEM missing ${found})
  endif()
  list(REMOVE_ITEM extra ${expected})
  message(FATAL_ERROR "${library} exports the wrong names.\n"
    "  missing: ${missing}\n  unexpected: ${extra}\n  all found: ${found}")
endfunction()
