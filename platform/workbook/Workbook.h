#pragma once

#include "platform/workbook/Worksheet.h"

#include <QString>

#include <memory>

namespace platform {

struct WorkbookContent;

// An open workbook file, in the shape a spreadsheet's automation offers: its worksheets in
// order, save, and (by the caller dropping it) close. The format is told by the content, not
// the name: .xlsx and .xlsm packages are read and written with every part a save does not
// touch kept byte for byte (styles, other sheets, macros); .xls is read through libfreexl and,
// when saved, written as an .xlsx package under the same name. Any other format (.xlsb among
// them) is refused as not supported.
class Workbook {
 public:
  static std::unique_ptr<Workbook> Open(const QString& path, bool readOnly, QString* error);
  ~Workbook();
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  const QString& Path() const { return path_; }
  bool ReadOnly() const { return readOnly_; }
  // Read from an .xls file, which a save would turn into an .xlsx package under the same name.
  bool FromXls() const { return fromXls_; }

  int WorksheetCount() const;
  // Zero-based; null outside.
  Worksheet* WorksheetAt(int index) const;
  // Exact, case-sensitive name; null when none.
  Worksheet* FindWorksheet(const QString& name) const;

  // Replaces the file atomically: a failed save leaves the file as it was. Refused for a
  // workbook opened read-only.
  bool Save(QString* error);

 private:
  Workbook(QString path, bool readOnly, bool fromXls, std::unique_ptr<WorkbookContent> content);

  QString path_;
  bool readOnly_;
  bool fromXls_;
  std::unique_ptr<WorkbookContent> content_;
};

}  // namespace platform
