tarnwick_fuzz_target(NAME fuzz_workbook_sheet
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WorkbookSheetFuzz.cpp
  LIBS tarnwick_platform)
