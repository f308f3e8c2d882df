# Build flags in one place: every target of the project links this.
add_library(brackwater_flags INTERFACE)
target_compile_features(brackwater_flags INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(brackwater_flags INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)

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
