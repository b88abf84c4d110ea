# Sources of the images part (list them here).
list(APPEND MORVANEX_RENDER_SOURCES
  texture_image.cpp texture_loading.cpp)
