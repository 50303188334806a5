suite_fuzz(format_combinators ${CMAKE_CURRENT_SOURCE_DIR}/format_combinators.cpp kalmet::kalmet core::core)
