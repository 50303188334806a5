suite_fuzz(iso8601_parsers ${CMAKE_CURRENT_SOURCE_DIR}/iso8601_parsers.cpp tarvel::tarvel kalmet::kalmet core::core)
