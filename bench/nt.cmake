# A Windows installation's SOFTWARE hive as the registry, beside hivexml's walk of it.
orvanex_add_bench(nt_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/nt_bench.cpp LIBS orvanex_core)
target_include_directories(nt_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/registry)
