if(TARGET orvx)
    orvanex_add_bench(reg_import_memory SOURCES ${CMAKE_CURRENT_LIST_DIR}/reg_import_memory.cpp
                      LIBS orvanex_core)
    target_compile_definitions(reg_import_memory PRIVATE ORVX_PROGRAM="$<TARGET_FILE:orvx>")
    add_dependencies(reg_import_memory orvx)
endif()
