suite_fuzz(integer_text ${CMAKE_CURRENT_SOURCE_DIR}/integer_text.cpp core::core PkgConfig::GMP)
