# The two scenes the program carries: made at build time from the bold
# DejaVu outlines through the scene writer, written beside the tool for
# looking at, and compiled into the program as arrays of bytes.
add_library(morvanex_start_scene_makers STATIC
  ${CMAKE_CURRENT_LIST_DIR}/extrusion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/letter_outlines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/polygon_fill.cpp
  ${CMAKE_CURRENT_LIST_DIR}/start_scenes.cpp)
target_include_directories(morvanex_start_scene_makers PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(morvanex_start_scene_makers PUBLIC morvanex_scenefile morvanex_modeling morvanex_scene morvanex_base
                      PRIVATE morvanex_truetype)
target_compile_definitions(morvanex_start_scene_makers PUBLIC MORVANEX_TITLE_FONT_FILE="${MORVANEX_FONT_BOLD}")
morvanex_warnings(morvanex_start_scene_makers)

add_executable(morvanex_start_scene_generator ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(morvanex_start_scene_generator PRIVATE morvanex_start_scene_makers)
set_target_properties(morvanex_start_scene_generator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
morvanex_warnings(morvanex_start_scene_generator)

set(MORVANEX_START_SCENE_FOLDER ${CMAKE_BINARY_DIR}/tools/start_scenes)
set(MORVANEX_START_SCENE_SOURCE ${MORVANEX_START_SCENE_FOLDER}/start_scene_bytes.cpp)
add_custom_command(OUTPUT ${MORVANEX_START_SCENE_SOURCE}
                          ${MORVANEX_START_SCENE_FOLDER}/logo.mrx ${MORVANEX_START_SCENE_FOLDER}/camera.mrx
  COMMAND morvanex_start_scene_generator --font ${MORVANEX_FONT_BOLD}
          --output ${MORVANEX_START_SCENE_FOLDER} --source ${MORVANEX_START_SCENE_SOURCE}
  DEPENDS morvanex_start_scene_generator ${MORVANEX_FONT_BOLD}
  COMMENT "Generating the title scene and the camera scene"
  VERBATIM)
# The application links the bytes; nothing else of the tool.
add_library(morvanex_start_scene_bytes STATIC ${MORVANEX_START_SCENE_SOURCE})
target_link_libraries(morvanex_app PUBLIC morvanex_start_scene_bytes)
