# Sources of the device part (list them here).
list(APPEND MORVANEX_RENDER_SOURCES graphics_context.cpp result_codes.cpp dynamic_buffer.cpp)
