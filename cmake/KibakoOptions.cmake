# Warnings are errors only where developers and CI build (KIBAKO_WERROR, which the
# test command turns on): a build made for use must not fail on a warning that a
# newer or older compiler invents. The sanitizer build adds ASan and UBSan.
add_compile_options(-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wformat=2)
if(KIBAKO_WERROR)
    add_compile_options(-Werror)
endif()

if(KIBAKO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(KIBAKO_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
