# The readers of what Wine leaves on the Linux desktop: entries, MIME packages, mimeapps.list.
orvanex_add_fuzzer(host_text ${CMAKE_CURRENT_LIST_DIR}/desktop/fuzz_host_text.cpp)
