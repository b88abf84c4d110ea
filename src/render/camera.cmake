# Sources of the camera part (list them here).
list(APPEND MORVANEX_RENDER_SOURCES camera.cpp)
