# Runs when installing (cmake --install, cpack), after the program folder:
# installs the menu entry, the icons and the AppStream file into the share
# folder that suits the prefix, and for the Debian package its copyright,
# changelog and lintian overrides.
#
# The prefix is only known now (cmake --install --prefix overrides the
# configured one), so the share folder and the entry's Exec line are worked
# out here:
#   /opt/<name>                  -> /usr/share
#   <home>/.local/opt/<name>     -> <home>/.local/share
#   any other prefix             -> <prefix>/share
# unless VELMAR_SHARE_DIR is set. DESTDIR is honoured (file(INSTALL)).
#
# Set by cmake/install.cmake: VELMAR_SOURCE_DIR, VELMAR_BINARY_DIR,
# VELMAR_APP_ID, VELMAR_VERSION, VELMAR_SHARE_DIR; by cpack: VELMAR_DEB_PACKAGE.

if(CMAKE_INSTALL_PREFIX MATCHES "\n")
  message(FATAL_ERROR "The install prefix must not contain a line break")
endif()
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
string(REGEX REPLACE "(.)/+$" "\\1" prefix "${prefix}")

if(VELMAR_SHARE_DIR)
  get_filename_component(share "${VELMAR_SHARE_DIR}" ABSOLUTE)
elseif(prefix MATCHES "^/opt/[^/]+$")
  set(share /usr/share)
elseif(prefix MATCHES "^(.*/\\.local)/opt/[^/]+$")
  set(share "${CMAKE_MATCH_1}/share")
else()
  set(share "${prefix}/share")
endif()
message(STATUS "Desktop files go to ${share}")

# The entry's Exec and TryExec: the installed executable's absolute path.
# A path with a character the desktop-entry format reserves is quoted, and
# the backslashes of the quoting are escaped once more for the string value.
set(executable "${prefix}/Velmar32")
set(exec "${executable}")
string(REPLACE "%" "%%" exec "${exec}")
if(exec MATCHES "[ \t\"'\\\\><~|&;$*?#()`]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\\" "\\\\" try_exec "${executable}")

file(READ "${VELMAR_SOURCE_DIR}/data/${VELMAR_APP_ID}.desktop" entry)
string(REGEX REPLACE "^(#[^\n]*\n)+" "" entry "${entry}")
string(REPLACE "@VELMAR_EXEC@" "${exec}" entry "${entry}")
string(REPLACE "@VELMAR_TRY_EXEC@" "${try_exec}" entry "${entry}")
# One folder per prefix, so that installs to several prefixes at once don't
# share the written entry.
string(MD5 key "${prefix}|${share}")
set(staging "${VELMAR_BINARY_DIR}/packaging/${key}")
file(WRITE "${staging}/${VELMAR_APP_ID}.desktop" "${entry}")

file(INSTALL DESTINATION "${share}/applications" TYPE FILE
     FILES "${staging}/${VELMAR_APP_ID}.desktop")
file(INSTALL DESTINATION "${share}/icons" TYPE DIRECTORY
     FILES "${VELMAR_SOURCE_DIR}/data/icons/hicolor")
file(INSTALL DESTINATION "${share}/metainfo" TYPE FILE
     FILES "${VELMAR_SOURCE_DIR}/data/${VELMAR_APP_ID}.metainfo.xml")

if(NOT VELMAR_DEB_PACKAGE)
  return()
endif()

# The Debian package's own files. The changelog's newest entry must name the
# version being packaged.
set(debian "${VELMAR_SOURCE_DIR}/packaging/debian")
file(STRINGS "${debian}/changelog" head LIMIT_COUNT 1)
if(NOT head MATCHES "^velmar32 \\(${VELMAR_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog: the newest entry is not for ${VELMAR_VERSION}: ${head}")
endif()
execute_process(COMMAND gzip -9nc "${debian}/changelog"
                OUTPUT_FILE "${staging}/changelog.gz"
                RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
  message(FATAL_ERROR "gzip failed on packaging/debian/changelog")
endif()
file(INSTALL DESTINATION /usr/share/doc/velmar32 TYPE FILE
     FILES "${debian}/copyright" "${staging}/changelog.gz")
file(INSTALL DESTINATION /usr/share/lintian/overrides TYPE FILE
     FILES "${debian}/lintian-overrides" RENAME velmar32)
