list(APPEND MORVANEX_RENDER_TEST_SOURCES graphics_context_test.cpp result_codes_test.cpp dynamic_buffer_test.cpp)
# The size rules of the window procedure, which the resize tests drive.
list(APPEND MORVANEX_RENDER_TEST_SOURCES ${PROJECT_SOURCE_DIR}/src/app/window_rules.cpp)
