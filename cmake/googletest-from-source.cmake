# GoogleTest built from the distribution's sources (/usr/src/googletest on Debian), for
# builds where no prebuilt GoogleTest fits the target: the Windows cross build. Defines the
# same GTest::gtest, GTest::gtest_main, GTest::gmock and GTest::gmock_main targets that
# find_package(GTest) gives.
set(TARNHOLM_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build")
if(NOT EXISTS ${TARNHOLM_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${TARNHOLM_GOOGLETEST_SOURCE} "
                      "(Debian: apt-get install googletest)")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)

# Someone else's code is not held to our warning flags (-Werror among them).
get_directory_property(tarnholm_saved_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${TARNHOLM_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${tarnholm_saved_options}")

foreach(lib gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()
