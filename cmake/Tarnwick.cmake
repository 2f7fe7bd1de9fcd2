# Build helpers shared by every folder of the tree.

# Flags for our own code only; Qt and the other libraries come in as system headers.
function(tarnwick_compile_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
  if(TARNWICK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
endfunction()

if(TARNWICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TARNWICK_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# One static library per folder: every .cpp of the folder and of the topic subfolders named in
# GROUPS (not of other subfolders) but the program entry files named in EXCLUDE.
# tarnwick_library(NAME name [LIBS lib...] [GROUPS subfolder...] [EXCLUDE file...])
function(tarnwick_library)
  cmake_parse_arguments(ARG "" "NAME" "LIBS;GROUPS;EXCLUDE" ${ARGN})
  set(patterns)
  foreach(folder IN ITEMS "${CMAKE_CURRENT_SOURCE_DIR}" ${ARG_GROUPS})
    cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND patterns "${folder}/*.cpp" "${folder}/*.h" "${folder}/*.qrc")
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${excluded}")
  endforeach()
  add_library(${ARG_NAME} STATIC ${sources})
  target_include_directories(${ARG_NAME} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_LIBS})
  tarnwick_compile_options(${ARG_NAME})
endfunction()

# One of the system's programs; every program lands in <build>/bin, where tests find them
# (testsupport::ProgramPath).
# tarnwick_program(NAME name SOURCES file... LIBS lib...)
function(tarnwick_program)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS})
  set_target_properties(${ARG_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")
  tarnwick_compile_options(${ARG_NAME})
endfunction()

# One test program per call, its cases registered with CTest under one label. (The test mains
# carry the sanitizer options and the tree's folders: gtest_discover_tests passes on only the
# first entry of an ENVIRONMENT list.)
# tarnwick_test(NAME name LABEL unit|odbc|gui|e2e SOURCES file... LIBS lib... [GUI]
#               [PROPERTIES test-property value...])
function(tarnwick_test)
  cmake_parse_arguments(ARG "GUI" "NAME;LABEL" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  if(ARG_GUI)
    target_link_libraries(${ARG_NAME} PRIVATE tarnwick_test_support_gui)
  else()
    target_link_libraries(${ARG_NAME} PRIVATE tarnwick_test_support)
  endif()
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  tarnwick_compile_options(${ARG_NAME})
  gtest_discover_tests(${ARG_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 300
      ENVIRONMENT QT_QPA_PLATFORM=offscreen ${ARG_PROPERTIES})
endfunction()

# A libFuzzer target, built only in the fuzz tree.
# tarnwick_fuzz_target(NAME name SOURCES file... LIBS lib...)
function(tarnwick_fuzz_target)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS})
  target_link_options(${ARG_NAME} PRIVATE -fsanitize=fuzzer)
  tarnwick_compile_options(${ARG_NAME})
  set_property(GLOBAL APPEND PROPERTY TARNWICK_FUZZ_TARGETS ${ARG_NAME})
endfunction()
