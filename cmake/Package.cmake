# The release package for the monitor host: one ZIP file, built with
#
#   cmake --build --preset windows --target package
#
# after the 64-bit build (cmake --build --preset windows64), whose program
# and stand-ins it takes from build/windows64/bin (BRACKWATER_WINDOWS64_BIN),
# and written as build/windows/brackwater-<version>-windows.zip. It holds
#
#   brackwater.exe, brackwater-profile.exe   the sensor and its profile tool
#   brackwater64.exe                         the sensor for SAP's 64-bit
#                                            libraries
#   INSTALL.txt                              docs/install-guide.md
#   lab/                                     the stand-ins librfc32.dll and
#                                            sapnwrfc.dll with the demo
#                                            landscape and its profiles, to try
#                                            the sensor without SAP
#   lab/x64/                                 the 64-bit stand-ins
#
# Only files installed in the component below go into the package, so that
# test programs, benchmarks and googletest never do. The stand-in DLLs live
# in lab/ only: beside brackwater.exe they would take the place of SAP's.
# The 32-bit build writes the package, with the 64-bit build's files in it.
# Both packages' lab: the demo landscape and its profiles.
set(_bw_demo_sensors "${CMAKE_SOURCE_DIR}/demo/drives/C/PRTG/PRTG Network Monitor/Custom Sensors/ExeXml")
set(_bw_lab_files
    "${_bw_demo_sensors}/rfcsim.json"
    "${_bw_demo_sensors}/PRD.P00"
    "${_bw_demo_sensors}/QAS.P00"
    "${_bw_demo_sensors}/ORA.P00"
    "${_bw_demo_sensors}/BRK.P00"
    "${_bw_demo_sensors}/HNG.P00"
    "${_bw_demo_sensors}/SAP Tessaron.Gbl"
    "${_bw_demo_sensors}/SapRfc.QAS"
)

if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(BW_PACKAGE_COMPONENT release)
  set(_bw_package_texts "${CMAKE_BINARY_DIR}/package_texts")

  install(TARGETS brackwater brackwater-profile
          RUNTIME DESTINATION . COMPONENT ${BW_PACKAGE_COMPONENT})
  # Only the DLL itself: its import library keeps CMake's default destination
  # in the default component, which the package leaves out.
  install(TARGETS rfcsim_dll rfcsim_nw_dll
          RUNTIME DESTINATION lab COMPONENT ${BW_PACKAGE_COMPONENT})

  # The 64-bit program and stand-ins, from the 64-bit build.
  set(BRACKWATER_WINDOWS64_BIN "${CMAKE_SOURCE_DIR}/build/windows64/bin" CACHE PATH
      "The 64-bit build's bin directory, whose brackwater64.exe and stand-ins the package holds")
  set(_bw_windows64_files
      "${BRACKWATER_WINDOWS64_BIN}/brackwater64.exe"
      "${BRACKWATER_WINDOWS64_BIN}/librfc32.dll"
      "${BRACKWATER_WINDOWS64_BIN}/sapnwrfc.dll")
  install(CODE "
    foreach(file IN ITEMS ${_bw_windows64_files})
      if(NOT EXISTS \"\${file}\")
        message(FATAL_ERROR \"The package holds the 64-bit sensor too; \${file} is missing: \"
                            \"build it first with: cmake --build --preset windows64\")
      endif()
    endforeach()" COMPONENT ${BW_PACKAGE_COMPONENT})
  install(PROGRAMS "${BRACKWATER_WINDOWS64_BIN}/brackwater64.exe"
          DESTINATION . COMPONENT ${BW_PACKAGE_COMPONENT})
  install(PROGRAMS "${BRACKWATER_WINDOWS64_BIN}/librfc32.dll" "${BRACKWATER_WINDOWS64_BIN}/sapnwrfc.dll"
          DESTINATION lab/x64 COMPONENT ${BW_PACKAGE_COMPONENT})
  install(FILES ${_bw_lab_files}
          DESTINATION lab COMPONENT ${BW_PACKAGE_COMPONENT})

  # The texts get Windows line ends: the Notepad of older Windows Server
  # releases shows a file with bare line feeds as one long line.
  function(bw_windows_text source target)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
    file(READ "${source}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${target}" "${text}")
  endfunction()

  bw_windows_text("${CMAKE_SOURCE_DIR}/docs/install-guide.md" "${_bw_package_texts}/INSTALL.txt")
  bw_windows_text("${CMAKE_SOURCE_DIR}/docs/lab-readme.txt" "${_bw_package_texts}/README.txt")
  install(FILES "${_bw_package_texts}/INSTALL.txt"
          DESTINATION . COMPONENT ${BW_PACKAGE_COMPONENT})
  install(FILES "${_bw_package_texts}/README.txt"
          DESTINATION lab COMPONENT ${BW_PACKAGE_COMPONENT})

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME brackwater)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_FILE_NAME brackwater-${PROJECT_VERSION}-windows)
  # The files at the top of the archive: Windows' "Extract All" puts them
  # into a folder named after the file anyway.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # Build directory, project, component, subdirectory: this one component only.
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${CMAKE_PROJECT_NAME};${BW_PACKAGE_COMPONENT};/")
  include(CPack)
endif()

# The Linux tarball, written by
#
#   cmake --build --preset linux --target package
#
# as build/linux/brackwater-<version>-linux-x86_64.tar.gz, everything in one
# folder of that name, as Unix software is unpacked:
#
#   brackwater, brackwater-profile   the sensor and its profile tool
#   INSTALL.txt                      docs/install-guide.md
#   lab/                             the stand-ins libsapnwrfc.so and
#                                    libsapucum.so with the demo landscape
#                                    and its profiles
#
# The stand-ins live in lab/ only: beside brackwater they would take the
# place of SAP's library.
if(NOT WIN32 AND BRACKWATER_LINUX_PROGRAM)
  set(BW_PACKAGE_COMPONENT release)

  # The profile tool goes to the same hosts as the sensor: the C++ runtime
  # linked in, so that it needs no libstdc++ of the build host's version.
  bw_linux_program(brackwater-profile)

  install(TARGETS brackwater brackwater-profile
          RUNTIME DESTINATION . COMPONENT ${BW_PACKAGE_COMPONENT})
  # A program that needs the build host's C++ runtime would not start on an
  # older host: the package is refused.
  install(CODE [[
    file(GET_RUNTIME_DEPENDENCIES
      EXECUTABLES "$<TARGET_FILE:brackwater>" "$<TARGET_FILE:brackwater-profile>"
      RESOLVED_DEPENDENCIES_VAR _bw_needed UNRESOLVED_DEPENDENCIES_VAR _bw_unresolved)
    foreach(_bw_library IN LISTS _bw_needed _bw_unresolved)
      if(_bw_library MATCHES "libstdc[+][+]|libgcc_s")
        message(FATAL_ERROR "The package's programs must have the C++ runtime linked in; one needs ${_bw_library}")
      endif()
    endforeach()]] COMPONENT ${BW_PACKAGE_COMPONENT})
  install(TARGETS rfcsim_nw_so rfcsim_ucum_so
          LIBRARY DESTINATION lab COMPONENT ${BW_PACKAGE_COMPONENT})
  install(FILES ${_bw_lab_files}
          DESTINATION lab COMPONENT ${BW_PACKAGE_COMPONENT})
  # The texts keep their line feeds.
  install(FILES "${CMAKE_SOURCE_DIR}/docs/install-guide.md"
          DESTINATION . RENAME INSTALL.txt COMPONENT ${BW_PACKAGE_COMPONENT})
  install(FILES "${CMAKE_SOURCE_DIR}/docs/lab-readme-linux.txt"
          DESTINATION lab RENAME README.txt COMPONENT ${BW_PACKAGE_COMPONENT})

  set(CPACK_GENERATOR TGZ)
  set(CPACK_PACKAGE_NAME brackwater)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_FILE_NAME brackwater-${PROJECT_VERSION}-linux-x86_64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${CMAKE_PROJECT_NAME};${BW_PACKAGE_COMPONENT};/")
  include(CPack)
endif()
