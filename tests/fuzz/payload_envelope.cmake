tarnwick_fuzz_target(NAME fuzz_payload_envelope
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PayloadEnvelopeFuzz.cpp
  LIBS tarnwick_sync_engine)
