suite_bench(pomrel ${CMAKE_CURRENT_SOURCE_DIR}/pomrel.cpp pomrel::pomrel)
