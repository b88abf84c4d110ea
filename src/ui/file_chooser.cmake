# The built-in file chooser, for desktops without a chooser program.
list(APPEND MORVANEX_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_chooser.cpp
)
