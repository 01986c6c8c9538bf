# What `cmake --install` puts under the prefix: the three programs and their manual pages, the help
# pages and the examples in share/zorvan (where zorvan looks for Help/index.html from bin/), the
# desktop entry, icon and MIME type that let a file manager open .85 files in Zorvan, the AppStream
# metadata software centres list it by, and the licence and changelog in share/doc/zorvan.
include(GNUInstallDirs)
set(zorvan_compressed_docs "")
# Compressed with gzip -9n as Debian keeps manual pages and changelogs (no name or time inside, so
# every build gives the same bytes).
function(zorvan_compress source name)
  set(compressed ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/compressed
                     COMMAND sh -c "gzip -9nc '${source}' > '${compressed}'"
                     DEPENDS ${source} VERBATIM)
  set(zorvan_compressed_docs ${zorvan_compressed_docs} ${compressed} PARENT_SCOPE)
endfunction()
foreach(program zorvan zorvan-run zorvan-grade)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    zorvan_compress(${CMAKE_SOURCE_DIR}/man/${program}.1 ${program}.1)
    install(FILES ${CMAKE_BINARY_DIR}/compressed/${program}.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
zorvan_compress(${CMAKE_SOURCE_DIR}/data/changelog changelog)
add_custom_target(zorvan_compressed_docs ALL DEPENDS ${zorvan_compressed_docs})
install(FILES ${CMAKE_SOURCE_DIR}/data/copyright ${CMAKE_BINARY_DIR}/compressed/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorvan)
if(EXISTS ${CMAKE_SOURCE_DIR}/Help)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/Help DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvan)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvan
        FILES_MATCHING PATTERN "*.85")
if(TARGET zorvan)
  install(FILES ${CMAKE_SOURCE_DIR}/data/zorvan.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/data/zorvan.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/data/zorvan-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME zorvan.xml)
  install(FILES ${CMAKE_SOURCE_DIR}/data/org.zorvan.Zorvan.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
