suite_fuzz(binary_decode ${CMAKE_CURRENT_SOURCE_DIR}/binary_decode.cpp core::core these::these)
