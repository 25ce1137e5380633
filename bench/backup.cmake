# A backup of a file type with 60 extensions, and an Apply of an icon change, on 50,000 extensions.
orvanex_add_bench(backup_apply SOURCES ${CMAKE_CURRENT_LIST_DIR}/backup_apply.cpp
                  LIBS model_hive_generator orvanex_core)
