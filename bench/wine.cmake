# A Wine prefix as the registry: open and fill the lists, save after one change.
orvanex_add_bench(wine_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/wine_bench.cpp LIBS orvanex_core)
