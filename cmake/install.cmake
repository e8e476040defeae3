# Installing and packaging.
#
# CMAKE_INSTALL_PREFIX is the program folder (by default /opt/velmar32), laid
# out like the build's bin/: the executables, libLumora (found through an
# $ORIGIN RPATH), Velmar32.ini, dbase/ and docs/. The menu entry, the icons
# and the AppStream file go to a share folder that suits the prefix, worked
# out when installing (packaging/install_share_files.cmake):
#   /opt/<name>                  -> /usr/share
#   <home>/.local/opt/<name>     -> <home>/.local/share
#   any other prefix             -> <prefix>/share
# or VELMAR_SHARE_DIR when set. `cpack -G DEB` builds a Debian package that
# installs to /opt/velmar32 with those files under /usr/share.

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/velmar32 CACHE PATH "The program folder" FORCE)
endif()
set(VELMAR_SHARE_DIR "" CACHE PATH
    "Folder for the menu entry, icons and AppStream file (empty: derived from the prefix when installing)")
set(VELMAR_APP_ID org.example.velmar32)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The build tree keeps its own RPATH (bin/, where libLumora is built); the
# installed executables look beside themselves.
set_target_properties(velmar32-cli PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS velmar32-cli RUNTIME DESTINATION .)
if(TARGET Velmar32)
  set_target_properties(Velmar32 PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS Velmar32 Lumora
          RUNTIME DESTINATION .
          LIBRARY DESTINATION . NAMELINK_SKIP)
endif()
install(FILES data/Velmar32.ini DESTINATION .)
install(DIRECTORY data/dbase data/docs DESTINATION .)

if(TARGET Velmar32)
  install(CODE "
    set(VELMAR_SOURCE_DIR [[${CMAKE_SOURCE_DIR}]])
    set(VELMAR_BINARY_DIR [[${CMAKE_BINARY_DIR}]])
    set(VELMAR_APP_ID [[${VELMAR_APP_ID}]])
    set(VELMAR_VERSION [[${PROJECT_VERSION}]])
    if(NOT DEFINED VELMAR_SHARE_DIR)
      set(VELMAR_SHARE_DIR [[${VELMAR_SHARE_DIR}]])
    endif()")
  install(SCRIPT packaging/install_share_files.cmake)
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmar32)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmar32 developers")
set(CPACK_PACKAGE_CONTACT "Velmar32 developers <velmar32@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calendar of the Russian Orthodox Church")
set(CPACK_PACKAGE_DESCRIPTION [[
Velmar32 (Dneslovnik, the day-book) shows, for any day of the years 1800
to 2100, the date in the new (Gregorian) and the old (Julian) style, the
day's place in the moveable cycle around Pascha, the tone of the week and
the commemorations of the day with their service-rank signs.

It computes the Paschalion, searches the menologion, writes calendars of a
period as RTF documents to save and print, and lives in the system tray.
The day's scripture readings open their text from the SWORD Bible modules
installed with BibleTime, Xiphos or the sword-text-* packages.
The user interface is in Russian.]])
set(CPACK_PACKAGE_HOMEPAGE_URL https://velmar32.example.org/velmar32/)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /opt/velmar32)
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/velmar32)
set(CPACK_STRIP_FILES ON)
set(CPACK_CUSTOM_INSTALL_VARIABLES VELMAR_DEB_PACKAGE=ON VELMAR_SHARE_DIR=/usr/share)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${VELMAR_PROGRAM_DIR})
# Loaded at run time rather than linked: the X11/Wayland platform plugins and
# the Russian texts of Qt's standard dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
# Qt's Wayland platform plugin, for Wayland sessions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-wayland")
# The readings' text comes from the user's SWORD Bible modules (libsword, a
# dependency found by dpkg-shlibdeps): a module, and a program that installs
# Russian and Church Slavonic ones.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bibletime | xiphos, sword-text-kjv")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
