list(APPEND MORVANEX_RENDER_TEST_SOURCES
  dds_codec_test.cpp image_codec_test.cpp image_files_test.cpp
  normal_map_test.cpp snapshot_names_test.cpp texture_image_test.cpp)
