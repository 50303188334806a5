suite_bench(kalmet_format ${CMAKE_CURRENT_SOURCE_DIR}/kalmet_format.cpp kalmet::kalmet core::core)
