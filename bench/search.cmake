# orvx find and the search window over all drives, against find(1) over the same roots.
if(TARGET orvx)
    orvanex_add_bench(search_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/search_bench.cpp
                      LIBS orvanex_ui)
    add_dependencies(search_bench orvx)
endif()
