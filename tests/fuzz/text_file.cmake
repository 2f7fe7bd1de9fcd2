tarnwick_fuzz_target(NAME fuzz_text_file
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextFileFuzz.cpp
  LIBS tarnwick_platform)
