#include "shared/data/WorkbookConnection.h"

#include "shared/SchemaIni.h"
#include "shared/WorkbookFolder.h"

#include <QDir>
#include <QFile>

#include <utility>

namespace data {

WorkbookConnection::WorkbookConnection(Conventions conventions) : m_conventions(std::move(conventions)) {}

WorkbookConnection::~WorkbookConnection() { CloseWorkbook(); }

int WorkbookConnection::OpenWorkbook(const QString& path, QString* errorText, bool readOnly) {
  CloseWorkbook();
  m_readOnly = readOnly;
  QString reason;
  std::unique_ptr<platform::Workbook> workbook = platform::Workbook::Open(path, readOnly, &reason);
  if (!workbook) {
    m_conventions.log(reason);
    if (errorText != nullptr) *errorText = QStringLiteral("Unable To Connect");
    return 0;
  }
  m_workbook = std::move(workbook);
  m_sheetCount = m_workbook->WorksheetCount();
  return 1;
}

void WorkbookConnection::CloseWorkbook() {
  QString error;
  if (SavesOnClosing() && !m_workbook->Save(&error)) m_conventions.log(error);
  m_workbook.reset();
  m_sheetCount = 0;
}

bool WorkbookConnection::SavesOnClosing() const {
  return m_workbook && !m_readOnly && (m_conventions.savesXlsWorkbooks || !m_workbook->FromXls());
}

QString WorkbookConnection::GetWorksheetName(int index) const {
  const platform::Worksheet* sheet = m_workbook ? m_workbook->WorksheetAt(index - 1) : nullptr;
  return sheet == nullptr ? QString() : sheet->Name();
}

int WorkbookConnection::ExportSheetsToText(QStringList* names) {
  const QString folder = WorkbookTempFolder();
  if (folder.isEmpty() || !m_workbook || !QDir().mkpath(folder)) return 0;
  const QString schemaPath = folder + QStringLiteral("/schema.ini");
  QFile::remove(schemaPath);
  bool written = true;
  for (int index = 0; index < m_sheetCount; ++index) {
    const platform::Worksheet* sheet = m_workbook->WorksheetAt(index);
    if (names != nullptr) names->append(sheet->Name());
    written = ExportSheet(*sheet, folder) && written;
  }
  if (!WriteSchemaIni(folder, schemaPath)) {
    m_conventions.log(QStringLiteral("The file %1 could not be written.").arg(schemaPath));
    written = false;
  }
  return written ? m_sheetCount : 0;
}

bool WorkbookConnection::ExportSheet(const platform::Worksheet& sheet, const QString& folder) {
  const QString path = folder + u'/' + m_conventions.exportPrefix + sheet.Name() + QStringLiteral(".txt");
  QFile::remove(path);
  QString error;
  if (sheet.SaveAsUnicodeText(path, &error)) return true;
  m_conventions.log(error);
  return false;
}

}  // namespace data
