# Sources of the programs part (list them here).
list(APPEND MORVANEX_RENDER_SOURCES)
