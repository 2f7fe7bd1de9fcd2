tarnwick_fuzz_target(NAME fuzz_registry_hive
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RegistryHiveFuzz.cpp
  LIBS tarnwick_platform)
