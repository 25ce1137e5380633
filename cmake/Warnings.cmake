# Warnings are errors for the project's own code; Qt's headers come in as system headers.
add_compile_options(-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
                    -Wimplicit-fallthrough -Werror)
