# Sources of the text part (list them here).
list(APPEND MORVANEX_RENDER_SOURCES text_fonts.cpp text.cpp text_status.cpp)
