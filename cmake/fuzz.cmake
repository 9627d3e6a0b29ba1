# The libFuzzer build of tests/fuzz: clang, ASan + UBSan, only the sources the
# fuzzers need. Included by tests/fuzz/CMakeLists.txt when that folder is the
# top of the build.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz build needs clang: -DCMAKE_CXX_COMPILER=clang++-14")
endif()

set(TALLOWFERN_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzzer runs under ctest")
get_filename_component(tf_root ${CMAKE_CURRENT_SOURCE_DIR}/../.. ABSOLUTE)

set(tf_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    ${tf_sanitizers} -fsanitize=fuzzer-no-link)
add_link_options(-fsanitize=address,undefined)

find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
find_package(SDL2 REQUIRED)

# The pure readers.
add_library(tf_fuzz_core STATIC
    ${tf_root}/data/byte_reader.cpp
    ${tf_root}/data/lesson_file.cpp
    ${tf_root}/data/scramble_key.cpp
    ${tf_root}/data/descramble.cpp
    ${tf_root}/data/dictionary.cpp
    ${tf_root}/data/des.cpp
    ${tf_root}/app/runtime/polygon_fill.cpp
    ${tf_root}/glyph/outline.cpp
    ${tf_root}/lesson/voice_directory.cpp
    ${tf_root}/lesson/wav.cpp
)
target_include_directories(tf_fuzz_core PUBLIC ${tf_root})

# The glyph renderer over a Canvas (QImage) and the message service.
add_library(tf_fuzz_gui STATIC
    ${tf_root}/glyph/glyph24.cpp
    ${tf_root}/app/runtime/canvas.cpp
    ${tf_root}/app/runtime/runtime.cpp
)
target_link_libraries(tf_fuzz_gui PUBLIC tf_fuzz_core Qt6::Widgets)

# The pronunciation player (its playback is linked, never called).
add_library(tf_fuzz_voice STATIC
    ${tf_root}/lesson/voice.cpp
    ${tf_root}/lesson/sound.cpp
    ${tf_root}/lesson/lesson_tables.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_tables.cpp
)
target_link_libraries(tf_fuzz_voice PUBLIC tf_fuzz_gui SDL2::SDL2)

enable_testing()
set(tf_fuzz_targets
    outline tf_fuzz_core
    dictionary tf_fuzz_core
    dictionary_scan tf_fuzz_core
    des tf_fuzz_core
    glyph24 tf_fuzz_gui
    voice tf_fuzz_voice
)
while(tf_fuzz_targets)
    list(POP_FRONT tf_fuzz_targets name lib)
    add_executable(fuzz_${name} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_${name}.cpp)
    target_link_libraries(fuzz_${name} PRIVATE ${lib})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    # New inputs go to the build's corpus folder; the committed seeds are read only.
    set(work ${CMAKE_BINARY_DIR}/corpus/${name})
    set(artifacts ${CMAKE_BINARY_DIR}/artifacts/${name})
    file(MAKE_DIRECTORY ${work} ${artifacts})
    add_test(NAME fuzz_${name}
        COMMAND fuzz_${name} -max_total_time=${TALLOWFERN_FUZZ_SECONDS} -timeout=10
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${artifacts}/
            ${work} ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(fuzz_${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;UBSAN_OPTIONS=print_stacktrace=1")
endwhile()
