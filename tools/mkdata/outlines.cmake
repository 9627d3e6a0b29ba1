# The outline fitter of the lesson data builder, as a library of its own for its
# tests and the preview tool.
include_guard(GLOBAL)

find_package(nlohmann_json 3 REQUIRED)
# Text of the sources: GB2312 conversion (iconv) for the fitter's file names and
# the dictionary's words, UTF-8, files, and the lesson a teacher asks for.
add_library(tf_gb2312 STATIC ${CMAKE_CURRENT_LIST_DIR}/gb2312.cpp
    ${CMAKE_CURRENT_LIST_DIR}/source_text.cpp ${CMAKE_CURRENT_LIST_DIR}/lesson_input.cpp)
target_link_libraries(tf_gb2312 PUBLIC tf_core)

add_library(tf_outlines STATIC ${CMAKE_CURRENT_LIST_DIR}/outline_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/outlines.cpp)
target_link_libraries(tf_outlines PUBLIC tf_core tf_gb2312 PRIVATE nlohmann_json::nlohmann_json)

# Writes a PNG of the fitted outlines beside the source strokes.
add_executable(outline_preview ${CMAKE_CURRENT_LIST_DIR}/outline_preview.cpp)
target_link_libraries(outline_preview PRIVATE tf_outlines Qt6::Gui)
