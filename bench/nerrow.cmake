suite_bench(nerrow ${CMAKE_CURRENT_SOURCE_DIR}/nerrow.cpp nerrow::nerrow core::core)
