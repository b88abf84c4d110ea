# The user manual: one self-contained HTML page, copied beside the executable
# (the help button opens it from there) and installed beside it.
set(MORVANEX_MANUAL_SOURCE ${CMAKE_CURRENT_LIST_DIR}/manual.html)
set(MORVANEX_MANUAL_OUTPUT ${MORVANEX_OUTPUT_DIR}/manual.html)
add_custom_command(OUTPUT ${MORVANEX_MANUAL_OUTPUT}
  COMMAND ${CMAKE_COMMAND} -E copy ${MORVANEX_MANUAL_SOURCE} ${MORVANEX_MANUAL_OUTPUT}
  DEPENDS ${MORVANEX_MANUAL_SOURCE}
  COMMENT "Copying the user manual"
  VERBATIM)
add_custom_target(morvanex_manual ALL DEPENDS ${MORVANEX_MANUAL_OUTPUT})
add_dependencies(morvanex morvanex_manual)
install(FILES ${MORVANEX_MANUAL_OUTPUT} DESTINATION bin)
