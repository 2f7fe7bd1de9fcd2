#include "admin/forms/FormFieldsDefaultValuesDlg.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ParameterListCtrl.h"
#include "tests/admin/forms/FormDialogTest.h"

#include <QLabel>
#include <QTest>

using formtests::Control;

namespace {

std::vector<FieldDefaultRow> Rows() {
  return {{QStringLiteral("Qty"), QStringLiteral("SQL_INTEGER"), QString()},
          {QStringLiteral("Note"), QStringLiteral("SQL_VARCHAR"), QString()},
          {QStringLiteral("Active"), QStringLiteral("SQL_BIT"), QStringLiteral("1")},
          {QStringLiteral("Due"), QStringLiteral("SQL_TIMESTAMP"), QString()}};
}

class FormFieldsDefaultValuesDlgTest : public formtests::FormDialogTest {};

TEST_F(FormFieldsDefaultValuesDlgTest, ShowsTheRowsAndHelpsWithTopic36) {
  CFormFieldsDefaultValuesDlg dialog(Rows());
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Field Default Values"));
  EXPECT_NE(dialog.findChild<QLabel*>()->text().indexOf(QStringLiteral("not  mapped on the form.")), -1);
  auto* list = Control<CParameterListCtrl>(dialog, "1052");
  ASSERT_EQ(list->columnCount(), 3);
  EXPECT_EQ(list->horizontalHeaderItem(2)->text(), QStringLiteral("Default Value"));
  ASSERT_EQ(list->GetItemCount(), 4);
  EXPECT_EQ(list->GetItemText(2, 1), QStringLiteral("SQL_BIT"));
  EXPECT_EQ(list->GetItemText(2, 2), QStringLiteral("1"));
  ExpectHelp(Control<CBMButton>(dialog, "1175"), 36);
  Control<CBMButton>(dialog, "2")->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

struct DefaultsCase {
  const char* qty;
  const char* note;
  const char* active;
  const char* due;
  const char* message;  // empty: accepted
};

// Rows are checked in order and the first refusal names its column.
TEST_F(FormFieldsDefaultValuesDlgTest, OkChecksEveryRowAgainstItsType) {
  const DefaultsCase cases[] = {
      {"", "", "1", "", "Please enter default value for \"Qty\" Field."},
      {"5", "", "", "", "Please enter default value for \"Active\" Field."},
      {"1e3", "", "1", "", "Default Value for \"Qty\" Field should be numeric, Please Enter proper Default Value."},
      {"5", "", "yes", "",
       "Default Value for \"Active\" Field should be numeric i.e. 1 or 0, Please Enter proper Default Value."},
      {"5", "", "1", "2010-01-05",
       "Default Value for \"Due\" Field should be DateTime,\r\nPlease Enter value in following Format\r\nFor "
       "DateTime : \"YYYY-MM-DD HH:MM:SS\"."},
      {"5", "x</FldDefValue>", "1", "",
       "\"x</FldDefValue>\" cannot be stored in the form: it contains \"</\", which the stored form uses to mark its "
       "values."},
      {"-2.5", "", "5", "", ""},
      {"5", "any note", "0", "2010-02-30 10:00:00", ""},
  };
  for (const DefaultsCase& c : cases) {
    CFormFieldsDefaultValuesDlg dialog(Rows());
    dialog.show();
    auto* list = Control<CParameterListCtrl>(dialog, "1052");
    const char* values[] = {c.qty, c.note, c.active, c.due};
    for (int row = 0; row < 4; ++row) list->SetItemText(row, 2, QString::fromUtf8(values[row]));
    Control<CBMButton>(dialog, "1")->click();
    const bool accepted = *c.message == 0;
    EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION), QString::fromUtf8(c.message)) << c.qty << " " << c.active;
    EXPECT_EQ(dialog.result(), accepted ? QDialog::Accepted : QDialog::Rejected) << c.qty << " " << c.active;
    if (!accepted) continue;
    ASSERT_EQ(dialog.GetRows().size(), 4u);
    for (int row = 0; row < 4; ++row)
      EXPECT_EQ(dialog.GetRows()[static_cast<size_t>(row)].DefaultValue, QString::fromUtf8(values[row]));
  }
}

TEST_F(FormFieldsDefaultValuesDlgTest, AValueStillInTheEditorCounts) {
  CFormFieldsDefaultValuesDlg dialog(Rows());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* list = Control<CParameterListCtrl>(dialog, "1052");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 2)).center());
  ASSERT_NE(list->GetEditor(), nullptr);
  QTest::keyClicks(list->GetEditor(), QStringLiteral("7"));
  Control<CBMButton>(dialog, "1")->click();
  EXPECT_EQ(TakeBox(platform::MB_ICONINFORMATION), QString());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.GetRows().front().DefaultValue, QStringLiteral("7"));
}

}  // namespace
