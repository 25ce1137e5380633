# Settings files and stored window positions: both are read back from the user's config folder.
orvanex_add_fuzzer(settings_file ${CMAKE_CURRENT_SOURCE_DIR}/settings_file_fuzz.cpp)
orvanex_add_fuzzer(window_position ${CMAKE_CURRENT_SOURCE_DIR}/window_position_fuzz.cpp)
