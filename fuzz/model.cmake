orvanex_add_fuzzer(model_icon_value ${CMAKE_CURRENT_LIST_DIR}/model_icon_value.cpp)
orvanex_add_fuzzer(model_registry ${CMAKE_CURRENT_LIST_DIR}/model_registry.cpp)
