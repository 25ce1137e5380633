# Filling the icon panel with a library of 300 icons (built with windres and ld when run).
if(TARGET platform_fixtures AND TARGET orvanex_ui)
    orvanex_add_bench(editing_icon_panel SOURCES editing_icon_panel.cpp
                      LIBS orvanex_ui platform_fixtures)
endif()
