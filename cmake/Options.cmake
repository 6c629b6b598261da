# Compiler settings shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(MARKEDIT_WERROR)
  add_compile_options(-Werror)
endif()

if(MARKEDIT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(MARKEDIT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "MARKEDIT_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Instrument everything for coverage; only the fuzz targets link the fuzzer's main.
  # A sanitizer's report ends the run as a finding: undefined behaviour is not passed over.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds a GoogleTest executable whose tests run headless through CTest.
function(markedit_add_test name)
  # DISCOVERY_FILTER (a gtest filter) leaves tests out of those CTest lists one by one: tests that
  # need a server CTest starts run through a test of their own instead.
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DISCOVERY_FILTER" "")
  set(filter)
  if(arg_DISCOVERY_FILTER)
    set(filter TEST_FILTER ${arg_DISCOVERY_FILTER})
  endif()
  add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  # A parameterised test is named by gtest's own name for its parameter: a value printed into the
  # name would show the padding bytes of a struct, which change from run to run.
  gtest_discover_tests(${name} ${filter} NO_PRETTY_VALUES
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "LSAN_OPTIONS=set:suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endfunction()

# Converts layout files (the text form of component streams) into binary streams with streamconv
# and links them into `target`, each registered under the class name of its root object.
function(markedit_add_layouts target)
  foreach(layout ${ARGN})
    get_filename_component(path ${layout} ABSOLUTE)
    get_filename_component(name ${layout} NAME_WE)
    file(STRINGS ${path} lines REGEX "^[ \t]*(object|inherited|inline)[ \t]")
    list(GET lines 0 first)
    string(REGEX REPLACE "^.*:[ \t]*([A-Za-z0-9_]+).*$" "\\1" class "${first}")
    # Image files the layout refers to ({picture 'x.png'} …) become binary values first.
    get_filename_component(dir ${path} DIRECTORY)
    file(STRINGS ${path} image_lines REGEX "{(picture|bitmap|image) '[^']+'}")
    set(images "")
    foreach(line ${image_lines})
      string(REGEX REPLACE "^.*{(picture|bitmap|image) '([^']+)'}.*$" "\\2" image "${line}")
      list(APPEND images ${dir}/${image})
    endforeach()
    set(txt ${CMAKE_CURRENT_BINARY_DIR}/layouts/${name}.txt)
    set(bin ${CMAKE_CURRENT_BINARY_DIR}/layouts/${name}.bin)
    set(cpp ${CMAKE_CURRENT_BINARY_DIR}/layouts/${name}_layout.cpp)
    add_custom_command(OUTPUT ${txt}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/layouts
      COMMAND ${CMAKE_COMMAND} -DIN=${path} -DOUT=${txt} -P ${PROJECT_SOURCE_DIR}/cmake/ExpandLayoutImages.cmake
      DEPENDS ${path} ${images} ${PROJECT_SOURCE_DIR}/cmake/ExpandLayoutImages.cmake)
    add_custom_command(OUTPUT ${bin}
      COMMAND streamconv to-binary ${txt} ${bin}
      DEPENDS streamconv ${txt}
      COMMENT "Converting layout ${name}")
    add_custom_command(OUTPUT ${cpp}
      COMMAND ${CMAKE_COMMAND} -DIN=${bin} -DOUT=${cpp} -DCLASS=${class} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedLayout.cmake
      DEPENDS ${bin} ${PROJECT_SOURCE_DIR}/cmake/EmbedLayout.cmake)
    target_sources(${target} PRIVATE ${cpp})
  endforeach()
endfunction()
