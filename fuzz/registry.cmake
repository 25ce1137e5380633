# The registry's readers of outside input: .reg files and the hive file.
orvanex_add_fuzzer(reg_import ${CMAKE_CURRENT_LIST_DIR}/registry/fuzz_reg_import.cpp)
orvanex_add_fuzzer(reg_hive ${CMAKE_CURRENT_LIST_DIR}/registry/fuzz_reg_hive.cpp)
# A Windows hive file as read through hivex.
orvanex_add_fuzzer(nt_hive ${CMAKE_CURRENT_LIST_DIR}/registry/fuzz_nt_hive.cpp)
