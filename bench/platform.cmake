# Icon extraction from a library of 300 icon groups (built with windres and ld when run).
if(TARGET platform_fixtures)
    orvanex_add_bench(platform_icons_bench SOURCES platform_icons_bench.cpp
                      LIBS orvanex_core platform_fixtures)
endif()
