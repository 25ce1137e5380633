# Readers of outside files in platform/: PE and NE resources, ICO files and images, version blocks.
orvanex_add_fuzzer(platform_pe platform_pe_fuzz.cpp)
orvanex_add_fuzzer(platform_ne platform_ne_fuzz.cpp)
orvanex_add_fuzzer(platform_ico platform_ico_fuzz.cpp)
orvanex_add_fuzzer(platform_version platform_version_fuzz.cpp)
orvanex_add_fuzzer(platform_trashinfo platform_trashinfo_fuzz.cpp)
