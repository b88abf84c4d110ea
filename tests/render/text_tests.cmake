# Tests of the text part (list them here).
list(APPEND MORVANEX_RENDER_TEST_SOURCES text_fonts_test.cpp text_layout_test.cpp text_drawing_test.cpp)
