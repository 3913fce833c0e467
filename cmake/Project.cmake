# Project-wide compiler settings and helpers.

add_library(hv_options INTERFACE)
target_compile_options(hv_options INTERFACE -Wall -Wextra -Wpedantic -Werror -Wshadow
                                            -Wconversion -Wno-sign-conversion)
# GCC 12 reports false -Wrestrict hits inside std::string concatenation at -O2 and above
# (GCC bug 105329); nothing of ours writes through restrict-qualified pointers.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(hv_options INTERFACE -Wno-restrict)
endif()
target_include_directories(hv_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(WIN32)
  # Windows headers: no min/max macros, ANSI entry points are what the callers expect.
  target_compile_definitions(hv_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # The DLLs and programs must import only system DLLs.
  target_link_options(hv_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# A fully static hv (glibc, libstdc++, SQLite and zlib from their archives); AddressSanitizer
# cannot run in a statically linked program.
if(HV_STATIC_CLI AND NOT WIN32)
  if(HV_SANITIZE)
    message(FATAL_ERROR "HV_STATIC_CLI and HV_SANITIZE exclude each other")
  endif()
  set(HV_STATIC_LINUX_CLI ON)
endif()

if(HV_SANITIZE)
  target_compile_options(hv_options INTERFACE -fsanitize=address,undefined
                                              -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(hv_options INTERFACE -fsanitize=address,undefined)
endif()

# Header-only libraries from the host (CLI11, nlohmann/json) for both native and cross builds:
# expose just their folders so a cross build never sees the host's system headers.
set(HV_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${HV_HOST_HEADERS})
foreach(dir CLI nlohmann)
  if(NOT EXISTS /usr/include/${dir})
    message(FATAL_ERROR "/usr/include/${dir} is missing: run scripts/bootstrap.sh")
  endif()
  file(CREATE_LINK /usr/include/${dir} ${HV_HOST_HEADERS}/${dir} SYMBOLIC)
endforeach()
add_library(hv_host_headers INTERFACE)
target_include_directories(hv_host_headers SYSTEM INTERFACE ${HV_HOST_HEADERS})

# hv_library(name SOURCES... [LIBS ...]): a static core library with project options.
function(hv_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_link_libraries(${name} PUBLIC hv_options ${A_LIBS})
endfunction()
