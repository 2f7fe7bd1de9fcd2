#pragma once

#include "shared/data/ProfileRecord.h"

#include <QObject>
#include <QString>

#include <memory>

class CDBConnManager;

// The profile the wizard is making or editing, as its pages fill it in: the profile record, the
// source connection the data-source page opens and the later pages read from, what a workbook
// export left behind, and whether the data-source page has chosen the profile's kind. The pages
// are views of it and learn about each other's work only through it.
class ProfileDraft : public QObject {
  Q_OBJECT

 public:
  explicit ProfileDraft(bool editMode);
  ~ProfileDraft() override;

  bool IsEditMode() const { return m_bEditMode; }
  ProfileRecord& GetProfileRecord() { return m_ProfileRecord; }
  const ProfileRecord& GetProfileRecord() const { return m_ProfileRecord; }

  // The source connection; a new source choice on a connected draft starts a fresh one.
  CDBConnManager& GetConnManager() const { return *m_pDBConnManager; }
  void ReplaceConnManager();

  // The driver description of the chosen data source name.
  const QString& GetDriverDescription() const { return m_strDriverDescription; }
  void SetDriverDescription(const QString& driver) { m_strDriverDescription = driver; }
  // Set when a workbook's worksheets were exported to text files and the export is connected.
  bool IsExcel() const { return m_bExcel; }
  void SetExcel(bool excel) { m_bExcel = excel; }
  int GetSheetCount() const { return m_nSheetCount; }
  void SetSheetCount(int count) { m_nSheetCount = count; }

  // The kind chosen when leaving the data-source page (a stored procedure or a table/view);
  // cleared when that page is entered again.
  void ChooseKind(bool procedure);
  void ClearKind();
  bool IsKindChosen() const { return m_bKindChosen; }

 Q_SIGNALS:
  void KindChosen(bool procedure);
  void KindCleared();

 private:
  bool m_bEditMode;
  ProfileRecord m_ProfileRecord;
  std::unique_ptr<CDBConnManager> m_pDBConnManager;
  QString m_strDriverDescription;
  bool m_bExcel = false;
  int m_nSheetCount = 0;
  bool m_bKindChosen = false;
};
