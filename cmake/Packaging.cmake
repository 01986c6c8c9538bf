# The Debian package: `cpack -G DEB` in a build folder gives zorvan_1.8.0_amd64.deb with everything
# the install rules put under the prefix (the three programs and their manual pages, the user
# guide, the examples, the desktop entry, the icon, the MIME type, the AppStream metadata, the
# copyright file and the changelog). Its Depends line is computed by dpkg-shlibdeps
# (Debian package dpkg-dev) from the libraries the programs link against.
set(CPACK_PACKAGE_NAME zorvan)
set(CPACK_PACKAGE_VERSION 1.8.0)
set(CPACK_PACKAGE_VENDOR "Zorvan developers")
set(CPACK_PACKAGE_CONTACT "The Zorvan developers <zorvan@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Intel 8085 simulator with editor, debugger and devices")
# The long description as Debian shows it, one line each.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Zorvan is a desktop simulator of the Intel 8085 microprocessor for people"
       "who learn or test 8085 assembly programs. Write a program in its editor,"
       "compile it with one key, and run, animate or single-step it while watching"
       "and editing the registers, flags, memory, stack and ports, with breakpoints"
       "on source lines. Programs reach a seven-segment LED display, a keypad, a"
       "beeper, a delay, two serial ports and a line printer."
       "zorvan-run runs programs from the command line for scripts and continuous"
       "integration; zorvan-grade grades a class's programs against the test cases"
       "of a TOML file on every core, with JUnit, JSON and CSV reports.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON) # the debug information stays in the build folder

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Zorvan developers <zorvan@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # <name>_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolbar pictures and the program's icon are SVG files, drawn by Qt's SVG plug-ins, which no
# library the programs link names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# The file triggers of these two packages register the desktop entry and the MIME type, so that a
# file manager opens .85 files in Zorvan; the package needs no scripts of its own for that.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")

# The pictures of the user guide, where its pages look for them (../docs/screenshots beside Help).
if(EXISTS ${CMAKE_SOURCE_DIR}/docs/screenshots)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/screenshots/ DESTINATION share/zorvan/docs/screenshots
          FILES_MATCHING PATTERN "*.png")
endif()

include(CPack)

# The release build checks what a distribution would check: the AppStream metadata, the desktop
# entry, and lintian on the package itself (one cpack run). The unit tests run in the other builds;
# these checks run here even when the release build leaves the unit tests out.
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND TARGET zorvan)
  add_test(NAME package_metainfo
           COMMAND appstreamcli validate --no-net
                   ${CMAKE_SOURCE_DIR}/data/org.zorvan.Zorvan.metainfo.xml)
  add_test(NAME package_desktop_entry
           COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/data/zorvan.desktop)
  add_test(NAME package_lintian
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package_metainfo package_desktop_entry package_lintian
                       PROPERTIES LABELS package)
  set_tests_properties(package_lintian PROPERTIES TIMEOUT 600 RUN_SERIAL ON)
endif()
