tarnwick_fuzz_target(NAME fuzz_odbc_ini
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/OdbcIniFuzz.cpp
  LIBS tarnwick_platform)
