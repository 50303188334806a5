# core::IntMap (weight-balanced tree) against a Patricia trie and std::map.
suite_bench(intmap_choice ${CMAKE_CURRENT_SOURCE_DIR}/intmap_choice.cpp core::core)
