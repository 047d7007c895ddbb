# Run by cmake --install (see install_rules.cmake).
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# The menu entry names the launcher by its full path, quoted where the
# desktop entry format asks for it.
set(exec "${CMAKE_INSTALL_PREFIX}/bin/pastelboard")
if(exec MATCHES "[^A-Za-z0-9/._+-]")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
set(PASTEL_EXEC "${exec}")
set(entry "${root}/share/applications/${PASTEL_APP_ID}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${PASTEL_DESKTOP_IN}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
# File managers draw a poster's thumbnail with the program, named the same way.
set(thumbnailer "${root}/share/thumbnailers/${PASTEL_APP_ID}.thumbnailer")
message(STATUS "Installing: ${thumbnailer}")
configure_file("${PASTEL_THUMBNAILER_IN}" "${thumbnailer}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${thumbnailer}")

# The word list new accounts start from: the teacher's words once installed,
# so an existing one stays.
if(IS_ABSOLUTE "${PASTEL_WORD_LIST_DIR}")
  set(words "$ENV{DESTDIR}${PASTEL_WORD_LIST_DIR}")
else()
  set(words "${root}/${PASTEL_WORD_LIST_DIR}")
endif()
set(mdb "${words}/pastel.mdb")
# Earlier installs kept it beside the program: the teacher's words move along.
set(old "${root}/${PASTEL_APP_DIR}/pastel.mdb")
if(NOT EXISTS "${mdb}" AND EXISTS "${old}")
  message(STATUS "Moving: ${old} to ${mdb}")
  file(MAKE_DIRECTORY "${words}")
  file(RENAME "${old}" "${mdb}")
endif()
if(EXISTS "${mdb}")
  message(STATUS "Kept: ${mdb}")
else()
  message(STATUS "Installing: ${mdb}")
  file(MAKE_DIRECTORY "${words}")
  set(SQL "${PASTEL_TEMPLATE_SQL}")
  set(OUT "${mdb}")
  include("${CMAKE_CURRENT_LIST_DIR}/write_template.cmake")
  file(CHMOD "${mdb}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  # Not in the manifest: removing the listed files keeps the words.
endif()
