// The wizard sheet: pages entered and left through their hooks, pages removed and added while it
// runs, and its five bitmap buttons.
#include "admin/shell/BMButton.h"
#include "admin/shell/WizardSheet.h"
#include "admin/shell/WizardSheetPage.h"

#include <gtest/gtest.h>

#include <QTest>

#include <string>
#include <utility>
#include <vector>

namespace {

using Calls = std::vector<std::string>;
using Button = CWizardSheet::Button;

// Writes every hook call as "<name> <hook>"; Next, Back and activation answer as told.
class RecordingPage : public CWizardSheetPage {
 public:
  RecordingPage(std::string name, Calls* calls) : name_(std::move(name)), calls_(calls) { resize(400, 200); }

  void OnInitDialog() override { Record("init"); }
  bool OnSetActive() override {
    Record("active");
    return acceptsActivation;
  }
  int OnWizardNext() override {
    Record("next");
    return nextAnswer;
  }
  int OnWizardBack() override {
    Record("back");
    return kMoveOn;
  }
  bool OnWizardFinish() override {
    Record("finish");
    return finishes;
  }
  void OnHelp() override { Record("help"); }

  bool acceptsActivation = true;
  int nextAnswer = kMoveOn;
  bool finishes = true;

 private:
  void Record(const char* hook) { calls_->push_back(name_ + ' ' + hook); }

  std::string name_;
  Calls* calls_;
};

class WizardSheet : public ::testing::Test {
 protected:
  WizardSheet() : sheet(QStringLiteral("Wizard")) {
    for (const char* name : {"one", "two", "three"}) {
      auto* page = new RecordingPage(name, &calls);
      pages.append(page);
      sheet.AddPage(page);
    }
  }

  void Click(Button button) { QTest::mouseClick(sheet.GetButton(button), Qt::LeftButton); }
  Calls TakeCalls() { return std::exchange(calls, {}); }

  Calls calls;
  QList<RecordingPage*> pages;
  CWizardSheet sheet;
};

}  // namespace

TEST_F(WizardSheet, EntersPagesThroughTheirHooksInTheOrderOfTheMoment) {
  sheet.show();
  EXPECT_EQ(TakeCalls(), Calls({"one init", "one active"}));
  EXPECT_EQ(sheet.GetActivePage(), pages[0]);

  pages[0]->nextAnswer = CWizardSheetPage::kStay;
  Click(Button::Next);
  EXPECT_EQ(TakeCalls(), Calls({"one next"}));
  EXPECT_EQ(sheet.GetActivePage(), pages[0]);

  pages[0]->nextAnswer = CWizardSheetPage::kMoveOn;
  sheet.RemovePage(pages[1]);
  EXPECT_EQ(sheet.GetPageCount(), 2);
  EXPECT_EQ(sheet.GetPageIndex(pages[1]), -1);
  Click(Button::Next);
  EXPECT_EQ(TakeCalls(), Calls({"one next", "three init", "three active"})) << "the removed page is passed";

  Click(Button::Back);
  sheet.AddPage(pages[1]);
  EXPECT_EQ(TakeCalls(), Calls({"three back", "one active"})) << "a page is initialised once";
  EXPECT_EQ(sheet.GetPageIndex(pages[1]), 2) << "an added page goes last";
  EXPECT_NE(pages[1]->parent(), nullptr) << "a removed page lives on with the sheet";

  pages[2]->acceptsActivation = false;
  Click(Button::Next);
  EXPECT_EQ(TakeCalls(), Calls({"one next", "three active"}));
  EXPECT_EQ(sheet.GetActivePage(), pages[0]) << "a page that refuses activation leaves the sheet where it was";

  Click(Button::Help);
  EXPECT_EQ(TakeCalls(), Calls({"one help"}));
}

TEST_F(WizardSheet, ApplyEndsWithTheFinishResultWhenThePageAgreesAndCancelRejects) {
  sheet.show();
  pages[0]->finishes = false;
  Click(Button::Apply);
  EXPECT_TRUE(sheet.isVisible()) << "the page refused to finish";
  pages[0]->finishes = true;
  Click(Button::Apply);
  EXPECT_FALSE(sheet.isVisible());
  EXPECT_EQ(sheet.result(), CWizardSheet::kFinishResult);
  EXPECT_EQ(CWizardSheet::kFinishResult, 12325);

  CWizardSheet cancelled(QStringLiteral("Wizard"));
  cancelled.AddPage(new RecordingPage("only", &calls));
  cancelled.show();
  QTest::mouseClick(cancelled.GetButton(Button::Cancel), Qt::LeftButton);
  EXPECT_FALSE(cancelled.isVisible());
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST_F(WizardSheet, ButtonsCarryTheirIdsAndSitInTheRowAsTheModeWants) {
  const struct {
    Button button;
    const char* id;
    const char* text;
  } expected[] = {{Button::Help, "3333", "Help"},
                  {Button::Back, "5555", "Back"},
                  {Button::Next, "4444", "Next"},
                  {Button::Apply, "1111", "Apply"},
                  {Button::Cancel, "2222", "Cancel"}};
  for (const auto& entry : expected) {
    const CBMButton* button = sheet.findChild<CBMButton*>(QString::fromLatin1(entry.id));
    ASSERT_NE(button, nullptr) << entry.id;
    EXPECT_EQ(button, sheet.GetButton(entry.button));
    EXPECT_EQ(button->text(), QString::fromLatin1(entry.text));
  }
  const QRect help = sheet.GetButton(Button::Help)->geometry();
  const QRect back = sheet.GetButton(Button::Back)->geometry();
  const QRect next = sheet.GetButton(Button::Next)->geometry();
  const QRect cancel = sheet.GetButton(Button::Cancel)->geometry();
  EXPECT_EQ(help.left(), 10);
  EXPECT_EQ(help.right(), 89);
  EXPECT_EQ(help.top(), cancel.top());
  EXPECT_EQ(sheet.GetButton(Button::Apply)->geometry(), next);
  EXPECT_EQ(next.left() - back.right() - 1, 10);
  EXPECT_LT(next.right(), cancel.left());
  EXPECT_LE(cancel.right(), sheet.width());
  EXPECT_GE(help.top(), 200) << "below the pages";

  sheet.show();
  const auto shown = [this](Button button) { return sheet.GetButton(button)->isVisible(); };
  sheet.SetButtonsForMode(false);
  EXPECT_TRUE(shown(Button::Next) && shown(Button::Cancel) && shown(Button::Help));
  EXPECT_FALSE(shown(Button::Back) || shown(Button::Apply));
  sheet.SetButtonsForMode(true);
  EXPECT_TRUE(shown(Button::Apply) && shown(Button::Cancel));
  EXPECT_FALSE(shown(Button::Back) || shown(Button::Next));
}
