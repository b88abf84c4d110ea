# Test sources of the scene passes part.
list(APPEND MORVANEX_RENDER_TEST_SOURCES scene_passes_test.cpp view_volume_test.cpp screen_drawing_test.cpp)
