suite_fuzz(read_values ${CMAKE_CURRENT_SOURCE_DIR}/read_values.cpp core::core pomrel::pomrel these::these)
