# The associations check against the start-up loading, and the filter box per keystroke, on
# 50,000 extensions and 100,000 actions.
orvanex_add_bench(health_check_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/health_check_bench.cpp
                  LIBS model_hive_generator orvanex_core)
if(TARGET orvanex_ui)
    orvanex_add_bench(filter_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/filter_bench.cpp
                      LIBS model_hive_generator orvanex_ui)
endif()
