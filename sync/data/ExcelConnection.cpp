#include "sync/data/ExcelConnection.h"

#include "shared/SchemaIni.h"
#include "shared/WorkbookFolder.h"
#include "sync/data/SyncLog.h"

#include <QDir>
#include <QFile>

CExcelConnection::~CExcelConnection() { CloseWorkbook(); }

int CExcelConnection::OpenWorkbook(const QString& path, QString* errorText, bool readOnly) {
  CloseWorkbook();
  m_bReadOnly = readOnly;
  QString reason;
  std::unique_ptr<platform::Workbook> workbook = platform::Workbook::Open(path, readOnly, &reason);
  if (!workbook) {
    WriteSyncServiceLog(-1, reason);
    if (errorText != nullptr) *errorText = QStringLiteral("Unable To Connect");
    return 0;
  }
  m_workbook = std::move(workbook);
  m_nSheetCount = m_workbook->WorksheetCount();
  return 1;
}

void CExcelConnection::CloseWorkbook() {
  QString error;
  if (m_workbook && !m_bReadOnly && !m_workbook->FromXls() && !m_workbook->Save(&error))
    WriteSyncServiceLog(-1, error);
  m_workbook.reset();
  m_nSheetCount = 0;
}

QString CExcelConnection::GetWorksheetName(int index) const {
  const platform::Worksheet* sheet = m_workbook ? m_workbook->WorksheetAt(index - 1) : nullptr;
  return sheet == nullptr ? QString() : sheet->Name();
}

int CExcelConnection::ExportSheetsToText() {
  const QString folder = WorkbookTempFolder();
  if (folder.isEmpty() || !m_workbook || !QDir().mkpath(folder)) return 0;
  const QString schemaPath = folder + QStringLiteral("/schema.ini");
  QFile::remove(schemaPath);
  bool written = true;
  for (int index = 0; index < m_nSheetCount; ++index) {
    const platform::Worksheet* sheet = m_workbook->WorksheetAt(index);
    const QString path = folder + u'/' + sheet->Name() + QStringLiteral(".txt");
    QFile::remove(path);
    QString error;
    if (!sheet->SaveAsUnicodeText(path, &error)) {
      WriteSyncServiceLog(-1, error);
      written = false;
    }
  }
  if (!WriteSchemaIni(folder, schemaPath)) {
    WriteSyncServiceLog(-1, QStringLiteral("The file %1 could not be written.").arg(schemaPath));
    written = false;
  }
  return written ? m_nSheetCount : 0;
}
