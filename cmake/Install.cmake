# What `cmake --install` puts where (GNUInstallDirs), the files for
# pkg-config and find_package, and the Debian package (cpack -G DEB).
# The library, the plugins and zalprint carry their own install() lines.

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zal2443 DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# find_package(zal2443): the exported target zal2443::zal2443, a config file
# and a version file (a host built for 23.x takes any 23.x).
include(CMakePackageConfigHelpers)
set(ZAL2443_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/zal2443)
install(EXPORT zal2443Targets NAMESPACE zal2443:: DESTINATION ${ZAL2443_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zal2443Config.cmake.in
  ${PROJECT_BINARY_DIR}/zal2443Config.cmake
  INSTALL_DESTINATION ${ZAL2443_INSTALL_CMAKEDIR}
  PATH_VARS ZAL2443_INSTALL_PLUGINDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/zal2443ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/zal2443Config.cmake ${PROJECT_BINARY_DIR}/zal2443ConfigVersion.cmake
        DESTINATION ${ZAL2443_INSTALL_CMAKEDIR})

if(WIN32)
  return()
endif()

# pkg-config.  The file names the prefix the files went to, which `cmake
# --install --prefix DIR` chooses after configuring: the folders are filled
# in now, the prefix when installing.
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(ZAL_PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(ZAL_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
set(ZAL_PC_PLUGINDIR "\${libdir}/${ZAL2443_PLUGIN_FOLDER_NAME}")
set(ZAL_PC_PREFIX "@ZAL_PC_PREFIX@")  # kept for the install step
configure_file(${PROJECT_SOURCE_DIR}/cmake/zal2443.pc.in ${PROJECT_BINARY_DIR}/zal2443.pc.in @ONLY)
install(CODE "
  set(ZAL_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${PROJECT_BINARY_DIR}/zal2443.pc.in\" \"${PROJECT_BINARY_DIR}/zal2443.pc\" @ONLY)
")
install(FILES ${PROJECT_BINARY_DIR}/zal2443.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# zalprint's manual page (gzip-compressed, as man-db reads it) and its bash
# completion.
if(TARGET zalprint)
  set(_man ${PROJECT_BINARY_DIR}/man/zalprint.1)
  configure_file(${PROJECT_SOURCE_DIR}/docs/zalprint.1.in ${_man} @ONLY)
  find_program(ZAL2443_GZIP gzip)
  if(ZAL2443_GZIP)
    add_custom_command(OUTPUT ${_man}.gz
      COMMAND ${ZAL2443_GZIP} -9 -n -k -f ${_man}
      DEPENDS ${_man}
      COMMENT "Compressing the manual page zalprint(1)"
      VERBATIM)
    add_custom_target(zalprint_man ALL DEPENDS ${_man}.gz)
    install(FILES ${_man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    install(FILES ${_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/completions/zalprint.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zalprint)
endif()

# The examples of the README, and the example service units of contrib/.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
file(GLOB _units CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/contrib/*.service)
if(_units)
  install(FILES ${_units} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
endif()

# The Debian package: `make deb`, or `cpack -G DEB` in a build folder.  One
# package with the library, its plugins, the header and zalprint; the
# libraries it needs found by dpkg-shlibdeps.  CUPS is loaded only when a
# label goes to a print queue, so it is recommended, not required.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zal2443)
set(CPACK_PACKAGE_VENDOR "Norwick Solutions Inc.")
set(CPACK_PACKAGE_CONTACT "Norwick Solutions Inc.")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Driver library for EPL2 thermal label printers (203 dpi)")
set(CPACK_PACKAGE_DESCRIPTION "Formats shipping jobs (a job record and an INI job file) as EPL2 labels \
and writes them to parallel, serial, USB, file or CUPS printer ports.  With the command-line host \
zalprint, the C header, pkg-config and CMake files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libcups2")
include(CPack)
