# The reader of a Wine prefix's registry files.
orvanex_add_fuzzer(wine_reg ${CMAKE_CURRENT_LIST_DIR}/registry/fuzz_wine_reg.cpp)
# The same files as a store: its links followed and walked.
orvanex_add_fuzzer(wine_links ${CMAKE_CURRENT_LIST_DIR}/registry/fuzz_wine_links.cpp)
