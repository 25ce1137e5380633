# orvx grep and orvx count against grep(1) and find(1).
if(TARGET orvx)
    orvanex_add_bench(insight_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/insight_bench.cpp
                      LIBS orvanex_core)
    add_dependencies(insight_bench orvx)
endif()
