tarnwick_fuzz_target(NAME fuzz_base64_decode
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Base64DecodeFuzz.cpp
  LIBS tarnwick_shared)
