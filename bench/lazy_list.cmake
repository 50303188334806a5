suite_bench(lazy_list ${CMAKE_CURRENT_SOURCE_DIR}/lazy_list.cpp core::core)
