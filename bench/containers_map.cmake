# core::Map / core::IntMap against std::map and absl::btree_map.
find_package(absl REQUIRED)
suite_bench(containers_map ${CMAKE_CURRENT_SOURCE_DIR}/containers_map.cpp core::core absl::btree)
