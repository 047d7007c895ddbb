# cmake --install build [--prefix P]: the program goes to P/lib/pastelboard/
# (the program's folder), a launcher to P/bin/, the word list new accounts
# start from to P/etc/pastelboard/ (PASTEL_WORD_LIST_DIR), and the menu entry,
# icons, AppStream data, the poster file type and its thumbnailer to P/share/.
set(desktop ${PROJECT_SOURCE_DIR}/data/desktop)

install(TARGETS pastelboard RUNTIME DESTINATION ${PASTEL_APP_DIR})
install(PROGRAMS ${desktop}/pastelboard.sh DESTINATION bin RENAME pastelboard)
install(FILES ${desktop}/icons/pastelboard.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME ${PASTEL_APP_ID}.svg)
foreach(size 48 64 96 128 256)
  install(FILES ${desktop}/icons/pastelboard-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${PASTEL_APP_ID}.png)
endforeach()
configure_file(${desktop}/pastelboard.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/desktop/${PASTEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${PASTEL_APP_ID}.metainfo.xml
        DESTINATION share/metainfo)
if(IS_ABSOLUTE "${PASTEL_WORD_LIST_DIR}")
  set(PASTEL_WORD_LIST_FULL "${PASTEL_WORD_LIST_DIR}")
else()
  set(PASTEL_WORD_LIST_FULL "${CMAKE_INSTALL_PREFIX}/${PASTEL_WORD_LIST_DIR}")
endif()
configure_file(${desktop}/pastelboard.1.in ${PROJECT_BINARY_DIR}/desktop/pastelboard.1 @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/desktop/pastelboard.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
configure_file(${desktop}/pastelboard-mime.xml.in
               ${PROJECT_BINARY_DIR}/desktop/${PASTEL_APP_ID}.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${PASTEL_APP_ID}.xml DESTINATION share/mime/packages)

# Known only at install time: the prefix the menu entry starts the program
# from, and whether a word list is already installed (it is never replaced).
install(CODE "
  set(PASTEL_APP_ID \"${PASTEL_APP_ID}\")
  set(PASTEL_APP_DIR \"${PASTEL_APP_DIR}\")
  set(PASTEL_WORD_LIST_DIR \"${PASTEL_WORD_LIST_DIR}\")
  set(PASTEL_DESKTOP_IN \"${desktop}/pastelboard.desktop.in\")
  set(PASTEL_THUMBNAILER_IN \"${desktop}/pastelboard.thumbnailer.in\")
  set(PASTEL_TEMPLATE_SQL \"${PROJECT_SOURCE_DIR}/data/pastel_template.sql\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/install_at_prefix.cmake\")
")
