#include "platform/workbook/Workbook.h"

#include "platform/files/AtomicFile.h"
#include "platform/workbook/WorkbookContent.h"
#include "platform/workbook/XlsReader.h"
#include "platform/workbook/XlsxReader.h"
#include "platform/workbook/XlsxWriter.h"

#include <QFileInfo>

namespace platform {
namespace {

enum class FileFormat { Zip, Compound, Other };

// Told by the first bytes: a zip package, or an OLE compound file (.xls, or an encrypted
// package, which libfreexl then refuses).
FileFormat FormatOf(const QByteArray& bytes) {
  if (bytes.startsWith(QByteArrayLiteral("PK\x03\x04"))) return FileFormat::Zip;
  if (bytes.startsWith(QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))) return FileFormat::Compound;
  return FileFormat::Other;
}

bool ReadContent(const QString& path, WorkbookContent* content, bool* fromXls, QString* error) {
  QByteArray bytes;
  bool missing = false;
  if (!ReadWholeFile(path, &bytes, &missing) || missing) {
    *error = missing ? QStringLiteral("the file does not exist") : QStringLiteral("the file cannot be read");
    return false;
  }
  const FileFormat format = FormatOf(bytes);
  *fromXls = format == FileFormat::Compound;
  switch (format) {
    case FileFormat::Zip: return XlsxReader::Read(bytes, content, error);
    case FileFormat::Compound: return XlsReader::Read(path, content, error);
    case FileFormat::Other: break;
  }
  *error = QStringLiteral("the file format is not supported (only .xlsx, .xlsm and .xls workbooks are)");
  return false;
}

}  // namespace

Workbook::Workbook(QString path, bool readOnly, bool fromXls, std::unique_ptr<WorkbookContent> content)
    : path_(std::move(path)), readOnly_(readOnly), fromXls_(fromXls), content_(std::move(content)) {}

Workbook::~Workbook() = default;

std::unique_ptr<Workbook> Workbook::Open(const QString& path, bool readOnly, QString* error) {
  auto content = std::make_unique<WorkbookContent>();
  QString reason;
  bool fromXls = false;
  if (!ReadContent(path, content.get(), &fromXls, &reason)) {
    *error = QStringLiteral("The workbook %1 cannot be opened: %2.").arg(QFileInfo(path).fileName(), reason);
    return nullptr;
  }
  return std::unique_ptr<Workbook>(new Workbook(path, readOnly, fromXls, std::move(content)));
}

int Workbook::WorksheetCount() const { return static_cast<int>(content_->sheets.size()); }

Worksheet* Workbook::WorksheetAt(int index) const {
  if (index < 0 || index >= WorksheetCount()) return nullptr;
  return content_->sheets[static_cast<size_t>(index)].get();
}

Worksheet* Workbook::FindWorksheet(const QString& name) const {
  for (const auto& sheet : content_->sheets)
    if (sheet->Name() == name) return sheet.get();
  return nullptr;
}

bool Workbook::Save(QString* error) {
  const QString fileName = QFileInfo(path_).fileName();
  if (readOnly_) {
    *error = QStringLiteral("The workbook %1 was opened read-only and is not saved.").arg(fileName);
    return false;
  }
  QByteArray package;
  QString reason;
  if (!XlsxWriter::Write(*content_, &package, &reason)) {
    *error = QStringLiteral("The workbook %1 cannot be saved: %2.").arg(fileName, reason);
    return false;
  }
  if (ReplaceFileAtomically(path_, package)) return true;
  *error = QStringLiteral("The workbook %1 cannot be written.").arg(fileName);
  return false;
}

}  // namespace platform
