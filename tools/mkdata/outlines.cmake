# The outline fitter of the lesson data builder, as a library of its own for its
# tests and the preview tool.
include_guard(GLOBAL)

find_package(nlohmann_json 3 REQUIRED)
add_library(tf_outlines STATIC ${CMAKE_CURRENT_LIST_DIR}/outlines.cpp)
target_link_libraries(tf_outlines PUBLIC tf_core PRIVATE nlohmann_json::nlohmann_json)

# Writes a PNG of the fitted outlines beside the source strokes.
add_executable(outline_preview ${CMAKE_CURRENT_LIST_DIR}/outline_preview.cpp)
target_link_libraries(outline_preview PRIVATE tf_outlines Qt6::Gui)
