suite_bench(integer ${CMAKE_CURRENT_SOURCE_DIR}/integer.cpp core::core PkgConfig::GMP)
