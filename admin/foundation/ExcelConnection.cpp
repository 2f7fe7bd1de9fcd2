#include "admin/foundation/ExcelConnection.h"

#include "admin/foundation/AppLog.h"
#include "shared/SchemaIni.h"
#include "shared/WorkbookFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString TextFileName(const QString& sheetName) {
  return QStringLiteral("New_") + sheetName + QStringLiteral(".txt");
}

}  // namespace

CExcelConnection::~CExcelConnection() { CloseWorkbook(); }

int CExcelConnection::OpenWorkbook(QString* errorText, bool readOnly, const QString& path) {
  CloseWorkbook();
  m_bReadOnly = readOnly;
  QString reason;
  std::unique_ptr<platform::Workbook> workbook = platform::Workbook::Open(path, readOnly, &reason);
  if (!workbook) {
    WriteAppLog(-1, reason);
    if (errorText != nullptr) *errorText = QStringLiteral("Unable To Connect");
    return 0;
  }
  m_workbook = std::move(workbook);
  m_nWorksheetCount = m_workbook->WorksheetCount();
  return 1;
}

void CExcelConnection::CloseWorkbook() {
  QString error;
  if (m_workbook && !m_bReadOnly && !m_workbook->Save(&error)) WriteAppLog(-1, error);
  m_workbook.reset();
  m_nWorksheetCount = 0;
}

int CExcelConnection::GetWorksheetList(QStringList* names, QStringList* schemas, QStringList* types) const {
  for (int index = 1; index <= m_nWorksheetCount; ++index) {
    names->append(GetWorksheetName(index));
    schemas->append(QString());
    types->append(QString());
  }
  return m_nWorksheetCount;
}

QString CExcelConnection::GetWorksheetName(int index) const {
  const platform::Worksheet* sheet = m_workbook ? m_workbook->WorksheetAt(index - 1) : nullptr;
  return sheet == nullptr ? QString() : sheet->Name();
}

int CExcelConnection::ExportSheetsToText(QStringList* names) {
  const QString folder = WorkbookTempFolder();
  if (folder.isEmpty() || !m_workbook || !QDir().mkpath(folder)) return 0;
  const QString schemaPath = folder + QStringLiteral("/schema.ini");
  QFile::remove(schemaPath);
  bool written = true;
  for (int index = 0; index < m_nWorksheetCount; ++index) {
    const platform::Worksheet* sheet = m_workbook->WorksheetAt(index);
    names->append(sheet->Name());
    const QString path = folder + u'/' + TextFileName(sheet->Name());
    QFile::remove(path);
    QString error;
    if (!sheet->SaveAsUnicodeText(path, &error)) {
      WriteAppLog(-1, error);
      written = false;
    }
  }
  if (!WriteSchemaIni(folder, schemaPath)) {
    WriteAppLog(-1, QStringLiteral("The file %1 could not be written.").arg(schemaPath));
    written = false;
  }
  return written ? m_nWorksheetCount : 0;
}

QString GetDispatchName(const platform::Workbook& workbook) { return QFileInfo(workbook.Path()).fileName(); }

QString GetDispatchName(const platform::Worksheet& worksheet) { return worksheet.Name(); }
