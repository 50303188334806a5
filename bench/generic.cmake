suite_bench(generic ${CMAKE_CURRENT_SOURCE_DIR}/generic.cpp core::core)
