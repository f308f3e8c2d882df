# The names a module-definition (.def) file exports, without their __stdcall
# decoration (RfcOpenConnection@12 -> RfcOpenConnection): what a stand-in
# library exports on every platform. Read by the build, which writes the
# Linux stand-ins' version scripts from them, and by the tests that compare
# a built library's exports with them.
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
