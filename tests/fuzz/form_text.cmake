tarnwick_fuzz_target(NAME fuzz_form_text
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_text.cpp
  LIBS tarnwick_shared)
