# Sources of the scene passes part.
list(APPEND MORVANEX_RENDER_SOURCES render_targets.cpp object_gpu.cpp view_volume.cpp world_lines.cpp
  screen_drawing.cpp interface_drawing.cpp scene_passes.cpp)
