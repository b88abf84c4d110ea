# The label files: the readable table data/labels/labels.tsv becomes
# "libelles.txt" (French) and "libelles_en.txt" (English) beside the
# executable, in the Windows-1252 form the program reads.
add_library(morvanex_label_maker STATIC ${CMAKE_CURRENT_LIST_DIR}/label_source.cpp)
target_include_directories(morvanex_label_maker PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(morvanex_label_maker PUBLIC morvanex_base)
morvanex_warnings(morvanex_label_maker)

add_executable(morvanex_label_generator ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(morvanex_label_generator PRIVATE morvanex_label_maker)
set_target_properties(morvanex_label_generator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
morvanex_warnings(morvanex_label_generator)

set(MORVANEX_LABEL_SOURCE ${PROJECT_SOURCE_DIR}/data/labels/labels.tsv)
set(MORVANEX_LABEL_OUTPUTS ${MORVANEX_OUTPUT_DIR}/libelles.txt ${MORVANEX_OUTPUT_DIR}/libelles_en.txt)
add_custom_command(OUTPUT ${MORVANEX_LABEL_OUTPUTS}
  COMMAND morvanex_label_generator ${MORVANEX_LABEL_SOURCE} ${MORVANEX_OUTPUT_DIR}
  DEPENDS morvanex_label_generator ${MORVANEX_LABEL_SOURCE}
  COMMENT "Generating the label files"
  VERBATIM)
add_custom_target(morvanex_labels ALL DEPENDS ${MORVANEX_LABEL_OUTPUTS})
add_dependencies(morvanex morvanex_labels)
install(FILES ${MORVANEX_LABEL_OUTPUTS} DESTINATION bin)
