# Installation and the Debian package. `cmake --install` puts dappleforge and the
# tools in bin/, the demo's data in share/dappleforge/ (where the installed
# program finds it, ../share/dappleforge/ from itself), and the desktop entry and
# the icon lightbake draws where desktops look for them. `cpack -G DEB` in the
# build folder packs the same files, with the runtime dependencies computed from
# the programs' shared libraries by dpkg-shlibdeps.
include(GNUInstallDirs)

install(TARGETS dappleforge RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Every tool: a tools/<name>/ folder builds the program <name>.
if(DF_BUILD_TOOLS)
  file(GLOB tool_dirs LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/tools/*)
  foreach(dir ${tool_dirs})
    get_filename_component(tool ${dir} NAME)
    if(TARGET ${tool})
      install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endforeach()
endif()
install(DIRECTORY ${DF_DEMO_DATA}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/dappleforge)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/dappleforge.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DF_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

set(CPACK_PACKAGE_NAME dappleforge)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Dappleforge")
set(CPACK_PACKAGE_CONTACT "Dappleforge developers <dappleforge@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "software-rendered procedural-texture demo")
set(CPACK_PACKAGE_DESCRIPTION
  "Regenerates a 512 x 512 height field every frame (lumps, blobs or tileable lattice noise) \
and shows it as height, normal map or bump-mapped light, with a skinnable GUI drawn by its own \
renderer. Also: the tools that make and read its data files.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY dappleforge)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
