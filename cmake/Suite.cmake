# Helpers shared by every deliverable's CMakeLists.txt.

set(SUITE_WARNINGS -Wall -Wextra)
if(SUITE_WERROR)
  list(APPEND SUITE_WARNINGS -Werror)
endif()

if(SUITE_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  find_package(rapidcheck REQUIRED CONFIG)
endif()

# suite_library(NAME [OUTPUT_NAME out] [PUBLIC_DEPS targets...] [PRIVATE_DEPS ...])
# A shared library built from every .cpp below <dir>/src, with <dir>/src as
# its include root (installed as include/NAME), exported as NAME::NAME.
function(suite_library name)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "PUBLIC_DEPS;PRIVATE_DEPS;PKG_REQUIRES;PKG_LIBS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  file(GLOB_RECURSE hdrs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.h)
  add_library(${name} SHARED ${srcs} ${hdrs})
  add_library(${name}::${name} ALIAS ${name})
  if(ARG_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
  # Installed, each library finds the others next to it (no LD_LIBRARY_PATH
  # or ldconfig needed for a private prefix). SUITE_PACKAGE is the name of
  # its CMake and pkg-config package.
  set_target_properties(${name} PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
    EXPORT_NAME ${name}
    INSTALL_RPATH "$ORIGIN"
    SUITE_PACKAGE ${name})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/src>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/${name}>)
  target_compile_features(${name} PUBLIC cxx_std_20)
  target_compile_definitions(${name} PRIVATE SUITE_VERSION="${PROJECT_VERSION}")
  target_compile_options(${name} PRIVATE ${SUITE_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})

  install(TARGETS ${name} EXPORT ${name}Targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/src/
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${name}
    FILES_MATCHING PATTERN "*.h")
  install(EXPORT ${name}Targets NAMESPACE ${name}::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/${name})

  # Package configuration: find_dependency on every suite library it uses.
  set(PKG_NAME ${name})
  set(PKG_FIND_DEPS "")
  foreach(dep IN LISTS ARG_PUBLIC_DEPS)
    if(TARGET ${dep})
      get_target_property(dep_pkg ${dep} SUITE_PACKAGE)
      if(dep_pkg)
        string(APPEND PKG_FIND_DEPS "find_dependency(${dep_pkg})\n")
      endif()
    endif()
  endforeach()
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/PackageConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/${name}Config.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/${name})
  write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/${name}ConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}Config.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/${name}ConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/${name})

  # pkg-config file.
  # PKG_REQUIRES names suite libraries as their targets' namespaces
  # (core, kalmet, ...); the pkg-config names are their packages' names.
  set(PKG_REQUIRES "")
  foreach(req IN LISTS ARG_PKG_REQUIRES)
    if(TARGET ${req}::${req})
      get_target_property(req_pkg ${req}::${req} SUITE_PACKAGE)
      list(APPEND PKG_REQUIRES ${req_pkg})
    else()
      list(APPEND PKG_REQUIRES ${req})
    endif()
  endforeach()
  string(REPLACE ";" " " PKG_REQUIRES "${PKG_REQUIRES}")
  set(PKG_LIBNAME ${name})
  if(ARG_OUTPUT_NAME)
    set(PKG_LIBNAME ${ARG_OUTPUT_NAME})
  endif()
  set(PKG_LIBS_PRIVATE "${ARG_PKG_LIBS}")
  # Relocatable: the prefix is found from where the .pc file is installed.
  file(RELATIVE_PATH PKG_PREFIX_FROM_PC "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig" "${CMAKE_INSTALL_PREFIX}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/package.pc.in
    ${CMAKE_CURRENT_BINARY_DIR}/${name}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()

# suite_tests(NAME LIBS...): one GoogleTest program from <dir>/tests/*.cpp.
function(suite_tests name)
  if(NOT SUITE_TESTS)
    return()
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name}_tests ${srcs})
  target_compile_options(${name}_tests PRIVATE ${SUITE_WARNINGS})
  target_link_libraries(${name}_tests PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_link_libraries(${name}_tests PRIVATE rapidcheck rapidcheck_gtest)
  gtest_discover_tests(${name}_tests TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60)
endfunction()
