#pragma once

#include "admin/profiles/ParameterRecord.h"

#include <QDialog>
#include <QList>

class CBMButton;
class CParameterListCtrl;
class QLabel;

// "Parameter Values": asks the values of a procedure's input parameters in column 3 of its
// list. OK takes them into the records when every one is given and fits its type; Cancel and
// Esc end it; the window frame's close box does nothing.
class CParameterDialog : public QDialog {
  Q_OBJECT

 public:
  // Mode 1 asks for a profile page; mode 2 (used nowhere) adds a note on auto sync.
  CParameterDialog(QList<ParameterRecord>* records, int mode, QWidget* parent = nullptr);

  static constexpr int kHelpTopic = 21;
  static constexpr int kValueColumn = 3;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FillList();
  void OnOK();
  void OnHelp();
  // The message that refuses the typed values; empty when they all pass.
  QString CheckValues() const;

  QList<ParameterRecord>* m_pRecords;
  CParameterListCtrl* m_pList;
  QLabel* m_pNote;
  CBMButton* m_pHelp;
};
