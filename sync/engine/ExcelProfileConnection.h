#pragma once

#include <QString>

#include <cstdint>

// Prepares a workbook profile that is read through text files: cleans the workbook at `path`
// of its empty rows into a copy (`fileName` names it), opens the copy read-only and exports
// every worksheet as a text file with its schema section. The number of worksheets exported; 0
// when the workbook cannot be opened or the documents folder cannot be found.
int32_t ConnectExcelProfile(QString path, QString fileName);
