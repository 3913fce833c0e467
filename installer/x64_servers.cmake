# Brings the 64-bit servers of the windows-x64 build up to date for the setup program,
# configuring that build first when it has never been.
# Called as: cmake -DSOURCE=<source folder> -DBUILD=<windows-x64 build folder> -P x64_servers.cmake
if(NOT EXISTS ${BUILD}/build.ninja)
  execute_process(COMMAND ${CMAKE_COMMAND} --preset windows-x64 -Wno-dev WORKING_DIRECTORY ${SOURCE}
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configuring ${BUILD} failed")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target tessary_dll halvane_dll
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the 64-bit servers in ${BUILD} failed")
endif()
