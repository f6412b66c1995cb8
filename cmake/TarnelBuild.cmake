# Compiler settings shared by every target of the project.
add_library(tarnel_options INTERFACE)
target_compile_options(tarnel_options INTERFACE -Wall -Wextra)
if(TARNEL_WERROR)
  target_compile_options(tarnel_options INTERFACE -Werror)
endif()
if(TARNEL_SANITIZE)
  target_compile_options(tarnel_options INTERFACE -fsanitize=${TARNEL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(tarnel_options INTERFACE -fsanitize=${TARNEL_SANITIZE})
endif()
# Every library includes from the source root: #include "serial/CSerialportMP.h".
target_include_directories(tarnel_options INTERFACE ${PROJECT_SOURCE_DIR})
# asio decides between aligned_alloc and operator new by whether the standard
# library's configuration was seen before its own, so a file that includes
# asio first would free with operator delete what another allocated with
# aligned_alloc (its handler memory is recycled across files). One choice for
# every file.
target_compile_definitions(tarnel_options INTERFACE ASIO_STANDALONE ASIO_NO_DEPRECATED ASIO_DISABLE_STD_ALIGNED_ALLOC)

if(WIN32)
  # One executable that runs on a bare Windows machine: the compiler's
  # runtime, the C++ library and the threads library are linked in.
  target_link_options(tarnel_options INTERFACE -static)
  # Windows 7 is the oldest system with everything asio and the port code use.
  target_compile_definitions(tarnel_options INTERFACE _WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_libraries(tarnel_options INTERFACE ws2_32 mswsock advapi32)
endif()

if(CMAKE_CROSSCOMPILING)
  # asio, CLI11, nlohmann-json and toml++ are header-only and the same for
  # every target, but their Debian packages install into the host's
  # /usr/include, which a cross build must not search. A folder of its own
  # holds a copy of just these.
  set(TARNEL_ASIO_HEADERS /usr/include CACHE PATH "Where asio.hpp and asio/ are")
  set(TARNEL_HEADER_LIBRARIES /usr/include CACHE PATH "Where CLI/, nlohmann/ and toml++/ are")
  set(asio_dir ${CMAKE_BINARY_DIR}/asio-include)
  file(COPY ${TARNEL_ASIO_HEADERS}/asio ${TARNEL_ASIO_HEADERS}/asio.hpp DESTINATION ${asio_dir})
  file(COPY ${TARNEL_HEADER_LIBRARIES}/CLI ${TARNEL_HEADER_LIBRARIES}/nlohmann ${TARNEL_HEADER_LIBRARIES}/toml++
       DESTINATION ${asio_dir})
  target_include_directories(tarnel_options SYSTEM INTERFACE ${asio_dir})
endif()

# GoogleTest: the installed one for the host; for a cross build, built from
# Debian's source package with the same toolchain as the tests.
macro(tarnel_find_gtest)
  if(CMAKE_CROSSCOMPILING)
    set(TARNEL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, for cross builds")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${TARNEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    find_package(GTest REQUIRED)
  endif()
endmacro()

# tarnel_add_tests(<folder> <sources...> LIBS <libs...>)
# One test executable per folder; each test is labelled with the folder's name.
include(GoogleTest)
function(tarnel_add_tests folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  set(target ${folder}_tests)
  add_executable(${target} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} tarnel_test_support GTest::gtest_main tarnel_options)
  if(CMAKE_CROSSCOMPILING)
    # Listing the tests would start the emulator at build time; one CTest
    # entry runs the whole executable.
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES LABELS ${folder})
  else()
    gtest_discover_tests(${target}
      PROPERTIES LABELS ${folder}
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# tarnel_add_korean_locale_run(<folder> <gtest filter>)
# Runs the chosen tests of a folder once more under a Korean locale, where
# fontconfig gives the windows a Korean font (narrower Latin letters, so
# smaller dialog units) as it does for a Korean user.
function(tarnel_add_korean_locale_run folder filter)
  add_test(NAME ${folder}_tests_korean_locale COMMAND ${folder}_tests --gtest_filter=${filter})
  set_tests_properties(${folder}_tests_korean_locale PROPERTIES
    LABELS ${folder}
    ENVIRONMENT "LANG=ko_KR.UTF-8;LC_ALL=;LC_CTYPE=;LANGUAGE=ko")
endfunction()
