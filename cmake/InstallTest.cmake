# Installs the build tree into a scratch prefix, then configures, builds and
# runs examples/client against the installed packages with find_package.
set(work ${BUILD_DIR}/install-test)
file(REMOVE_RECURSE ${work})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${work}/prefix
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
# The installed tool runs as it is, with no library path set: its RPATH and
# the libraries' own find everything in the prefix.
if(EXISTS ${work}/prefix/bin/iso8601-check)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH
    ${work}/prefix/bin/iso8601-check 2000-02-29T12:00+01:00
    RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "2000-02-29T12:00+01:00: 2000-02-29T12:00:00+01:00 = 2000-02-29T11:00:00Z (zoned-time)\n")
    message(FATAL_ERROR "the installed iso8601-check did not run as expected (${rc}): ${out}")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/client -B ${work}/build
  -DCMAKE_PREFIX_PATH=${work}/prefix -DCMAKE_CXX_COMPILER=${CXX}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the client against the installed package failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${work}/build RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the client failed")
endif()
execute_process(COMMAND ${work}/build/client RESULT_VARIABLE rc OUTPUT_VARIABLE out)
message(STATUS "client printed: ${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the client failed")
endif()
# pkg-config must find every library and give flags that compile and link.
file(GLOB_RECURSE pcs ${work}/prefix/*.pc)
list(LENGTH pcs n)
if(n LESS 7)
  message(FATAL_ERROR "expected seven pkg-config files, found: ${pcs}")
endif()
list(GET pcs 0 first)
get_filename_component(pcdir ${first} DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pcdir}
  pkg-config --cflags --libs tarvel these nerrow comonad pomrel corevocab
  RESULT_VARIABLE rc OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know the installed libraries")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
execute_process(COMMAND ${CXX} ${SOURCE_DIR}/examples/client/main.cpp -o ${work}/client-pc ${flags}
  -Wl,-rpath,${pcdir}/..
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "compiling the client with pkg-config flags failed")
endif()
execute_process(COMMAND ${work}/client-pc RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the client built with pkg-config flags failed")
endif()
