suite_bench(comonad ${CMAKE_CURRENT_SOURCE_DIR}/comonad.cpp comonad::comonad core::core)
