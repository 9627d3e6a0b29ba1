# The compiler's warnings and Debian's hardening, for the program and for a
# lesson of one's own linked against it (cmake/lesson/).
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(TALLOWFERN_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
else()
    # Debian's hardening: checked string and memory functions (optimised builds
    # only), read-only relocations bound at start.
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    add_link_options(-Wl,-z,relro,-z,now)
endif()
