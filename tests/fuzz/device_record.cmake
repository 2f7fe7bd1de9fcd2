tarnwick_fuzz_target(NAME fuzz_device_record
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeviceRecordFuzz.cpp
  LIBS tarnwick_shared)
