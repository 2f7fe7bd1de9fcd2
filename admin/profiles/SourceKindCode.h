#pragma once

#include <QString>

#include <cstdint>

// The source kind code a chosen desktop file gets from its extension (compared without regard
// to case): mdb 1, xls 2, dbf 3, txt 4, csv 5, accdb 6, xlsx 7, xlsm 8, xlsb 9, fp7 10; 11 for
// any other extension, which the data-source page refuses.
uint8_t SourceKindOfFile(const QString& path);

// Kinds whose driver takes the file's folder rather than the file: dBase, text and csv.
bool IsFolderSourceKind(uint8_t kind);

// Kinds of a workbook file: xls, xlsx, xlsm, xlsb.
bool IsWorkbookFileKind(uint8_t kind);
