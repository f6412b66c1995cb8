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
target_compile_definitions(tarnel_options INTERFACE ASIO_STANDALONE ASIO_NO_DEPRECATED)

# tarnel_add_tests(<folder> <sources...> LIBS <libs...>)
# One test executable per folder; each test is labelled with the folder's name.
include(GoogleTest)
function(tarnel_add_tests folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  set(target ${folder}_tests)
  add_executable(${target} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} tarnel_test_support GTest::gtest_main tarnel_options)
  gtest_discover_tests(${target}
    PROPERTIES LABELS ${folder}
    DISCOVERY_TIMEOUT 60)
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
