# The list reports into PDF, and the .reg diff (library and orvx) at scale.
orvanex_add_bench(reports_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/reports_bench.cpp
                  LIBS model_hive_generator orvanex_core)
orvanex_add_bench(diff_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/diff_bench.cpp
                  LIBS model_hive_generator orvanex_core)
# The merge preview window on a 10 MB .reg, against the comparison it shows.
orvanex_add_bench(merge_preview_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/merge_preview_bench.cpp
                  LIBS model_hive_generator orvanex_ui)
