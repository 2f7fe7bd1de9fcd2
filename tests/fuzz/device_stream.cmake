tarnwick_fuzz_target(NAME fuzz_device_stream
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeviceStreamFuzz.cpp
  LIBS tarnwick_sync_engine)
