# The file-type model's start-up loading; the classes generator is shared with other benchmarks.
add_library(model_hive_generator STATIC ${CMAKE_CURRENT_LIST_DIR}/model_hive_generator.cpp)
target_include_directories(model_hive_generator PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(model_hive_generator PUBLIC orvanex_core)
orvanex_add_bench(model_startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/model_startup.cpp
                  LIBS model_hive_generator orvanex_core)
