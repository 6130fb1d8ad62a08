# Installation and the Debian package. `cmake --install build` puts morvane and morvane-cli in
# bin and the desktop entry, the icons (cmake/program_icon.cmake) and the manual pages under
# share; `cpack -G DEB` in the build folder packs the same tree as morvane_<version>_<arch>.deb.
# Included at the end of the top-level CMakeLists.txt.

include(GNUInstallDirs)

install(TARGETS morvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(MORVANE_MAN_PAGES morvane-cli.1)
if(TARGET morvane)
  install(TARGETS morvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/morvane.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  list(APPEND MORVANE_MAN_PAGES morvane.1)
endif()
# The companion programs the Tools menu starts: their desktop entries are hidden from the
# application menu (NoDisplay), so the desktop knows their names and icons only.
set(MORVANE_INSTALLED_COMPANIONS)
foreach(tool rc lc eseries seriesparallel)
  if(TARGET morvane-${tool})
    install(TARGETS morvane-${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/morvane-${tool}.desktop
      DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    list(APPEND MORVANE_MAN_PAGES morvane-${tool}.1)
    list(APPEND MORVANE_INSTALLED_COMPANIONS morvane-${tool})
  endif()
endforeach()

# Manual pages go in compressed, as Debian keeps them; man reads both.
find_program(MORVANE_GZIP gzip REQUIRED)
set(MORVANE_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(MORVANE_MAN_GZ)
foreach(page IN LISTS MORVANE_MAN_PAGES)
  add_custom_command(
    OUTPUT ${MORVANE_MAN_DIR}/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/man/${page} ${MORVANE_MAN_DIR}/${page}
    COMMAND ${MORVANE_GZIP} -9 -n -f ${MORVANE_MAN_DIR}/${page}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}
    VERBATIM)
  list(APPEND MORVANE_MAN_GZ ${MORVANE_MAN_DIR}/${page}.gz)
endforeach()
add_custom_target(morvane_man_pages ALL DEPENDS ${MORVANE_MAN_GZ})
install(FILES ${MORVANE_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. dpkg-shlibdeps (package dpkg-dev) finds the libraries the programs link;
# the platform plugins Qt loads at run time it cannot see, so they are named here.
set(MORVANE_MAINTAINER "Morvane developers <morvane@example.org>"
  CACHE STRING "Maintainer of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Morvane)
set(CPACK_PACKAGE_CONTACT ${MORVANE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design analog electronic filters")
# The summary above is the first line of the description, this the rest.
set(CPACK_PACKAGE_DESCRIPTION "Pick a circuit topology (MFB, Sallen-Key, state-variable with three
or four op amps, Fliege, passive LC ladder, LC diplexer) and a filter type,
type a short design entry (cut-off frequency, Q, gain, input impedance), and
at once see standard component values (E6 to E96) for a circuit that meets
it, the figures that characterise it, and graphs of its gain, phase, group
delay and step response.
.
morvane-cli designs the same circuits from the command line, for scripts and
batch work, and writes their response curves and SPICE netlists.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET morvane)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)

# A quick check of the installed tree: cmake --install into a scratch DESTDIR, then every file
# in its place, nothing else, and the installed programs answer --version.
if(MORVANE_BUILD_TESTS)
  add_test(NAME install.tree
    COMMAND ${CMAKE_COMMAND}
      -DBUILD_DIR=${PROJECT_BINARY_DIR}
      -DSTAGE=${PROJECT_BINARY_DIR}/install-check
      -DPREFIX=${CMAKE_INSTALL_PREFIX}
      -DBINDIR=${CMAKE_INSTALL_BINDIR}
      -DDATADIR=${CMAKE_INSTALL_DATADIR}
      -DMANDIR=${CMAKE_INSTALL_MANDIR}
      -DVERSION=${PROJECT_VERSION}
      -DGUI=$<TARGET_EXISTS:morvane>
      "-DCOMPANIONS=${MORVANE_INSTALLED_COMPANIONS}"
      -P ${PROJECT_SOURCE_DIR}/cmake/check_install.cmake)
  set_tests_properties(install.tree PROPERTIES LABELS install)
  find_program(MORVANE_DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(MORVANE_DESKTOP_FILE_VALIDATE AND TARGET morvane)
    add_test(NAME install.desktop_entry
      COMMAND ${MORVANE_DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/resources/morvane.desktop)
    set_tests_properties(install.desktop_entry PROPERTIES LABELS install)
    foreach(companion IN LISTS MORVANE_INSTALLED_COMPANIONS)
      add_test(NAME install.desktop_entry.${companion}
        COMMAND ${MORVANE_DESKTOP_FILE_VALIDATE}
          ${PROJECT_SOURCE_DIR}/resources/${companion}.desktop)
      set_tests_properties(install.desktop_entry.${companion} PROPERTIES LABELS install)
    endforeach()
  endif()
endif()
