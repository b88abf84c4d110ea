# Sources of the programs part (list them here).
list(APPEND MORVANEX_RENDER_SOURCES
  constant_blocks.cpp
  gl_state.cpp
  pipeline_states.cpp
  shader_library.cpp
  vertex_layouts.cpp
)

# The drawing programs are GLSL sources, one file per stage entry, read at
# start from the "shaders" folder beside the executable: copy them there at
# build time (again whenever one changes) and install them beside the
# installed executable.
file(GLOB MORVANEX_SHADER_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/shaders/*.glsl)
set(MORVANEX_SHADER_OUTPUTS)
foreach(shader_source ${MORVANEX_SHADER_SOURCES})
  get_filename_component(shader_name ${shader_source} NAME)
  set(shader_output ${MORVANEX_OUTPUT_DIR}/shaders/${shader_name})
  add_custom_command(OUTPUT ${shader_output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVANEX_OUTPUT_DIR}/shaders
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${shader_source} ${shader_output}
    DEPENDS ${shader_source}
    COMMENT "Copying shader ${shader_name}"
    VERBATIM)
  list(APPEND MORVANEX_SHADER_OUTPUTS ${shader_output})
endforeach()
add_custom_target(morvanex_shaders ALL DEPENDS ${MORVANEX_SHADER_OUTPUTS})
# Anything linking the render library (the program, the tests) gets them.
cmake_language(DEFER CALL add_dependencies morvanex_render morvanex_shaders)
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/shaders/ DESTINATION bin/shaders FILES_MATCHING PATTERN "*.glsl")
