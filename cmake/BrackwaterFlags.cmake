# Build flags in one place: every target of the project links this.
add_library(brackwater_flags INTERFACE)
target_compile_features(brackwater_flags INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(brackwater_flags INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports a false -Wrestrict on `"literal" + std::string` at higher
  # optimisation levels (GCC bug 105651).
  target_compile_options(brackwater_flags INTERFACE -Wno-restrict)
endif()

option(BRACKWATER_SANITIZE "AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(BRACKWATER_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()

if(WIN32)
  # One self-contained exe: no MinGW runtime DLLs beside it on the monitor host.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# The sensor starts once per poll: a fully static program spares every start
# the dynamic loader's work. The sanitizer and fuzz builds need their
# runtimes' shared libraries.
#
# On Windows the program is static already (above). Its sections are laid
# out on page boundaries in the file as well, so that the loader (Wine's,
# at least) can map them page by page instead of reading the whole image,
# and the runtime libraries' debugging sections, which the loader would map
# too, are left out: together a third less memory per poll.
function(bw_static_program target)
  if(WIN32)
    target_link_options(${target} PRIVATE -Wl,--gc-sections -Wl,--file-alignment,4096 -s)
  elseif(NOT BRACKWATER_SANITIZE AND NOT BRACKWATER_FUZZ)
    target_link_options(${target} PRIVATE -static -Wl,--gc-sections)
  endif()
endfunction()
# A poll is bound by starting the program, not by computing: every page of
# code the start touches costs more than the instructions saved by -O2 or
# -O3. Optimised builds optimise for size.
target_compile_options(brackwater_flags INTERFACE $<$<CONFIG:Release,RelWithDebInfo>:-Os>)
# The Linux program loads SAP's library with the dynamic loader, which needs
# the shared C library; the C++ runtime is linked in, so that any glibc
# x86-64 host runs it. The sanitizers bring their own runtime.
function(bw_linux_program target)
  if(NOT BRACKWATER_SANITIZE AND NOT BRACKWATER_FUZZ)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc -Wl,--gc-sections)
  endif()
endfunction()
# Unused functions are left out of the programs (with --gc-sections above).
target_compile_options(brackwater_flags INTERFACE -ffunction-sections -fdata-sections)
