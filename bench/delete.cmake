# Deleting a file type with 60 extensions from 50,000 extensions: backup, deletes, list updates.
orvanex_add_bench(delete_entry_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/delete_entry_bench.cpp
                  LIBS model_hive_generator orvanex_core)
