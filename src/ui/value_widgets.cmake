# The value widgets: edit boxes, check boxes and radio buttons, sliders,
# colour swatches and bars, and the animation key bar.
list(APPEND MORVANEX_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/check_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colour_hsv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colour_widgets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/slider.cpp
)
