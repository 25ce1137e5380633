orvanex_add_bench(registry_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/registry_bench.cpp
                  LIBS orvanex_core)
