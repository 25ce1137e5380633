# The main window's start-up: window built, both grids filled and the timer's work done.
orvanex_add_bench(editing_startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/editing_startup.cpp
                  LIBS model_hive_generator orvanex_ui)
