# The viewer's start-up, search and marking times over large generated files.
orvanex_add_bench(viewer_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewer_bench.cpp
                  LIBS pelusa_viewer)
