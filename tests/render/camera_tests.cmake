# Tests of the camera part (list them here).
list(APPEND MORVANEX_RENDER_TEST_SOURCES camera_test.cpp)
