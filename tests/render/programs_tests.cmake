# Test sources of the programs part.
list(APPEND MORVANEX_RENDER_TEST_SOURCES
  shader_programs_test.cpp
  shader_drawing_test.cpp
  pipeline_states_test.cpp
)
