# What `cmake --install` puts under the prefix: the two programs, the help pages and the examples
# in share/zorvan (where zorvan looks for Help/index.html from bin/), and the desktop entry, icon
# and MIME type that let a file manager open .85 files in Zorvan.
include(GNUInstallDirs)
foreach(program zorvan zorvan-run)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
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
endif()
