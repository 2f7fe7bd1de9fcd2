#pragma once

#include <QString>

#include <cstdint>

// The source kind codes of a profile (its DBType) and of a connection, the one table both
// programs read.
namespace sourcekind {

inline constexpr uint8_t kNamedDataSource = 0;
inline constexpr uint8_t kMdb = 1;
inline constexpr uint8_t kXls = 2;
inline constexpr uint8_t kDbf = 3;
inline constexpr uint8_t kTxt = 4;
inline constexpr uint8_t kCsv = 5;
inline constexpr uint8_t kAccdb = 6;
inline constexpr uint8_t kXlsx = 7;
inline constexpr uint8_t kXlsm = 8;
// An .xlsb workbook, or a MySQL data source name.
inline constexpr uint8_t kXlsbOrMySql = 9;
inline constexpr uint8_t kFileMaker = 10;
// A file of any other extension, which the data-source page refuses.
inline constexpr uint8_t kOtherFile = 11;
// The last kind a file is registered for under a data source name of its own.
inline constexpr uint8_t kLastRegisteredFileKind = kXlsx;

}  // namespace sourcekind

// The source kind code a chosen desktop file gets from its extension (compared without regard
// to case): mdb 1, xls 2, dbf 3, txt 4, csv 5, accdb 6, xlsx 7, xlsm 8, xlsb 9, fp7 10; 11 for
// any other extension.
uint8_t SourceKindOfFile(const QString& path);

// Kinds whose driver takes the file's folder rather than the file: dBase, text and csv.
bool IsFolderSourceKind(uint8_t kind);

// Kinds of a workbook file: xls, xlsx, xlsm, xlsb.
bool IsWorkbookFileKind(uint8_t kind);
