suite_bench(containers_seq ${CMAKE_CURRENT_SOURCE_DIR}/containers_seq.cpp core::core)
