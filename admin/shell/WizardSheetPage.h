#pragma once

#include <QWizardPage>

class CWizardSheet;

// A page of CWizardSheet. Outside a QWizard a QWizardPage is a plain widget, so the sheet alone
// decides when a page is entered and left; it calls these hooks as it does.
class CWizardSheetPage : public QWizardPage {
  Q_OBJECT

 public:
  // What OnWizardNext and OnWizardBack answer: stay on the page, or move on in page order.
  static constexpr int kStay = -1;
  static constexpr int kMoveOn = 0;

  explicit CWizardSheetPage(QWidget* parent = nullptr);

  // Once, before the page is first entered.
  virtual void OnInitDialog() {}
  // Every time the page becomes the active one; false keeps the sheet where it was.
  virtual bool OnSetActive() { return true; }
  virtual int OnWizardNext() { return kMoveOn; }
  virtual int OnWizardBack() { return kMoveOn; }
  // True ends the sheet with the Finish result.
  virtual bool OnWizardFinish() { return true; }
  // The sheet's Help button while the page is active.
  virtual void OnHelp() {}

  // The sheet the page was added to; null before.
  CWizardSheet* GetSheet() const { return m_pSheet; }
  bool IsInitialized() const { return m_bInitialized; }

 private:
  friend class CWizardSheet;

  CWizardSheet* m_pSheet = nullptr;
  bool m_bInitialized = false;
};
