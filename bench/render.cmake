find_package(absl REQUIRED)
suite_bench(render ${CMAKE_CURRENT_SOURCE_DIR}/render.cpp tarvel::tarvel kalmet::kalmet core::core absl::time)
