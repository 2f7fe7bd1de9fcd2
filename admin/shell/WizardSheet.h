#pragma once

#include <QDialog>
#include <QSize>

#include <map>

class CBMButton;
class CWizardSheetPage;
class QStackedWidget;

// A wizard of pages over one stack: the pages are entered and left through their hooks
// (CWizardSheetPage), can be added and removed while the wizard runs, and show or hide the
// sheet's five bitmap buttons themselves. A QWizard would run its own button logic against the
// pages', so the sheet keeps only what the pages ask of it.
class CWizardSheet : public QDialog {
  Q_OBJECT

 public:
  // The buttons, with their command ids as object names.
  enum class Button { Help = 3333, Back = 5555, Next = 4444, Apply = 1111, Cancel = 2222 };
  // The result of a sheet that ended through Finish ("Apply").
  static constexpr int kFinishResult = 12325;

  explicit CWizardSheet(const QString& caption, QWidget* parent = nullptr);
  ~CWizardSheet() override;

  // Appends the page to the page order; the sheet becomes its parent (and owner).
  void AddPage(CWizardSheetPage* page);
  // Takes the page out of the page order; it stays alive, hidden, for a later AddPage.
  void RemovePage(CWizardSheetPage* page);
  int GetPageCount() const;
  CWizardSheetPage* GetPage(int index) const;
  // -1 for a page not in the order.
  int GetPageIndex(const CWizardSheetPage* page) const;
  CWizardSheetPage* GetActivePage() const;
  // Enters the page (initialising it the first time); false when it refused, leaving the
  // active page as it was.
  bool SetActivePage(CWizardSheetPage* page);

  void SetTitle(const QString& title);
  CBMButton* GetButton(Button button) const;
  void ShowButton(Button button, bool shown);
  // The buttons of a wizard entering its first page: a new item's wizard shows Next and hides
  // Back and Apply; an edit shows Apply and Cancel and hides Back and Next.
  void SetButtonsForMode(bool editMode);

  // What the buttons do; pages and tests press them too.
  void PressBack();
  void PressNext();
  void PressFinish();
  void PressCancel();
  void PressHelp();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateButtons();
  void LayOut();
  void MoveBy(int step);

  QStackedWidget* m_pStack;
  std::map<Button, CBMButton*> m_buttons;
  QSize m_pageSize;
  bool m_bStarted = false;
};
