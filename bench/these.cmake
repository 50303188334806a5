suite_bench(these ${CMAKE_CURRENT_SOURCE_DIR}/these.cpp these::these)
