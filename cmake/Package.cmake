# The release package for the monitor host: one ZIP file, built with
#
#   cmake --build --preset windows --target package
#
# and written as build/windows/brackwater-<version>-win32.zip. It holds
#
#   brackwater.exe, brackwater-profile.exe   the sensor and its profile tool
#   INSTALL.txt                              docs/install-guide.md
#   lab/                                     the stand-ins librfc32.dll and
#                                            sapnwrfc.dll with the demo
#                                            landscape and its profiles, to try
#                                            the sensor without SAP
#
# Only files installed in the component below go into the package, so that
# test programs, benchmarks and googletest never do. The stand-in DLLs live
# in lab/ only: beside brackwater.exe they would take the place of SAP's.
if(WIN32)
  set(BW_PACKAGE_COMPONENT release)
  set(_bw_demo_sensors "${CMAKE_SOURCE_DIR}/demo/drives/C/PRTG/PRTG Network Monitor/Custom Sensors/ExeXml")
  set(_bw_package_texts "${CMAKE_BINARY_DIR}/package_texts")

  install(TARGETS brackwater brackwater-profile
          RUNTIME DESTINATION . COMPONENT ${BW_PACKAGE_COMPONENT})
  # Only the DLL itself: its import library keeps CMake's default destination
  # in the default component, which the package leaves out.
  install(TARGETS rfcsim_dll rfcsim_nw_dll
          RUNTIME DESTINATION lab COMPONENT ${BW_PACKAGE_COMPONENT})
  install(FILES
            "${_bw_demo_sensors}/rfcsim.json"
            "${_bw_demo_sensors}/PRD.P00"
            "${_bw_demo_sensors}/QAS.P00"
            "${_bw_demo_sensors}/ORA.P00"
            "${_bw_demo_sensors}/BRK.P00"
            "${_bw_demo_sensors}/HNG.P00"
            "${_bw_demo_sensors}/SAP Tessaron.Gbl"
            "${_bw_demo_sensors}/SapRfc.QAS"
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
  set(CPACK_PACKAGE_FILE_NAME brackwater-${PROJECT_VERSION}-win32)
  # The files at the top of the archive: Windows' "Extract All" puts them
  # into a folder named after the file anyway.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # Build directory, project, component, subdirectory: this one component only.
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${CMAKE_PROJECT_NAME};${BW_PACKAGE_COMPONENT};/")
  include(CPack)
endif()
