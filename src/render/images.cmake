# Sources of the images part (list them here).
list(APPEND MORVANEX_RENDER_SOURCES
  image_record.cpp image_codec.cpp image_files.cpp dds_codec.cpp stb_implementation.cpp
  normal_map.cpp snapshot_names.cpp texture_image.cpp texture_loading.cpp)
