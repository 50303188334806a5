find_package(absl REQUIRED)
suite_bench(iso8601_timestamps ${CMAKE_CURRENT_SOURCE_DIR}/iso8601_timestamps.cpp tarvel::tarvel kalmet::kalmet core::core absl::time)
