suite_fuzz(time_format ${CMAKE_CURRENT_SOURCE_DIR}/time_format.cpp kalmet::kalmet core::core)
