# Desktop integration: the menu entry, the application icon and the scene
# file type, so that a file manager shows .mrx files with the editor's icon
# and opens them in it. A plain `cmake --install` installs them; the
# component lets the tests install them alone.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/morvanex.desktop DESTINATION share/applications COMPONENT desktop)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/morvanex.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT desktop)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/morvanex-mime.xml DESTINATION share/mime/packages RENAME morvanex.xml
  COMPONENT desktop)
