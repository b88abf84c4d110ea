# The composite widgets: tab strips, pop-up menus, thumbnail grids and tree
# lists.
list(APPEND MORVANEX_UI_SOURCES
  image_list.cpp
  menu.cpp
  tab_strip.cpp
  tree_list.cpp
)
