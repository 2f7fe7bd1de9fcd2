#include "admin/forms/FormulaDesignDlg.h"
#include "admin/shell/BMButton.h"
#include "tests/admin/forms/FormDialogTest.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

using formtests::Control;

namespace {

QStringList Texts(const QListWidget& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) texts.append(list.item(row)->text());
  return texts;
}

// A list of words written with blanks between them.
QStringList Words(const char* words) { return QString::fromLatin1(words).split(u' '); }

class FormulaDesignDlgTest : public formtests::FormDialogTest {
 protected:
  FormulaColumns Columns() const {
    return {{QStringLiteral("Price"), QStringLiteral("Unit Cost"), QStringLiteral("Name"), QStringLiteral("<Name>")},
            {QStringLiteral("SQL_INTEGER"), QStringLiteral("SQL_NUMERIC"), QStringLiteral("SQL_VARCHAR"),
             QStringLiteral("SQL_INTEGER")}};
  }
};

TEST_F(FormulaDesignDlgTest, EachNodeOffersItsCategoriesAndItems) {
  CFormulaDesignDlg dialog(Columns(), QStringLiteral("$Price"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Formula"));
  EXPECT_EQ(Control<QLineEdit>(dialog, "1055")->text(), QStringLiteral("$Price"));
  auto* tree = Control<QTreeWidget>(dialog, "1295");
  auto* categories = Control<QListWidget>(dialog, "1296");
  auto* items = Control<QListWidget>(dialog, "1297");
  auto* syntax = Control<QLabel>(dialog, "1298");
  ASSERT_EQ(tree->topLevelItemCount(), 3);
  EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
  for (int root = 0; root < 3; ++root) {
    EXPECT_FALSE(tree->topLevelItem(root)->icon(0).isNull());
    EXPECT_EQ(tree->topLevelItem(root)->icon(0).availableSizes().value(0), QSize(16, 16));
  }
  EXPECT_EQ(Texts(*categories), QStringList{QStringLiteral("Field List")});
  EXPECT_EQ(Texts(*items), Columns().names);
  EXPECT_EQ(syntax->text(), QString());

  const QStringList math = Words("ABS POWER SQRT EXP LOG SIN COS TAN COT SEC COSEC MIN MAX INT");
  tree->setCurrentItem(tree->topLevelItem(1));
  EXPECT_EQ(Texts(*categories), Words("<All> Math Conversion"));
  EXPECT_EQ(categories->currentRow(), 0);
  EXPECT_EQ(Texts(*items), math + Words("NUM"));
  EXPECT_EQ(items->currentRow(), 0);
  EXPECT_EQ(syntax->text(), QStringLiteral("ABS(num)"));
  items->setCurrentRow(1);
  EXPECT_EQ(syntax->text(), QStringLiteral("POWER(num1, num2)"));
  categories->setCurrentRow(1);
  EXPECT_EQ(Texts(*items), math);
  categories->setCurrentRow(2);
  EXPECT_EQ(Texts(*items), Words("NUM"));
  EXPECT_EQ(syntax->text(), QStringLiteral("NUM(stringNum)"));

  tree->setCurrentItem(tree->topLevelItem(2));
  EXPECT_EQ(Texts(*categories), Words("Arithmetic"));
  EXPECT_EQ(Texts(*items), Words("+ - * /"));
  EXPECT_EQ(syntax->text(), QString());
}

// Paste and a double click put the item at the caret, over the selection, and give the edit
// the focus; the small buttons put their symbol.
TEST_F(FormulaDesignDlgTest, PasteInsertsAtTheCaret) {
  CFormulaDesignDlg dialog(Columns(), QStringLiteral("1 + 2"));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* edit = Control<QLineEdit>(dialog, "1055");
  auto* tree = Control<QTreeWidget>(dialog, "1295");
  auto* categories = Control<QListWidget>(dialog, "1296");
  auto* items = Control<QListWidget>(dialog, "1297");
  auto* paste = Control<CBMButton>(dialog, "1153");

  edit->setCursorPosition(0);
  items->setCurrentRow(1);
  paste->click();
  EXPECT_EQ(edit->text(), QStringLiteral("$Unit Cost1 + 2"));
  EXPECT_TRUE(edit->hasFocus());

  tree->setCurrentItem(tree->topLevelItem(1));
  categories->setCurrentRow(1);
  edit->setSelection(edit->text().indexOf(u'1'), 1);
  items->setCurrentRow(11);
  paste->click();
  EXPECT_EQ(edit->text(), QStringLiteral("$Unit CostMIN(,) + 2"));
  edit->setCursorPosition(edit->text().size());
  const QPoint first = items->visualItemRect(items->item(0)).center();
  QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, first);
  QTest::mouseDClick(items->viewport(), Qt::LeftButton, {}, first);
  EXPECT_EQ(edit->text(), QStringLiteral("$Unit CostMIN(,) + 2ABS()"));
  EXPECT_TRUE(edit->hasFocus());

  edit->setCursorPosition(0);
  for (const char* id : {"1279", "1222", "1067", "1068", "1069", "1070"}) Control<CBMButton>(dialog, id)->click();
  EXPECT_TRUE(edit->text().startsWith(QStringLiteral("()+-/*$Unit Cost")));
  tree->setCurrentItem(tree->topLevelItem(2));
  items->setCurrentRow(2);
  edit->setCursorPosition(0);
  paste->click();
  EXPECT_TRUE(edit->text().startsWith(QStringLiteral("*()")));
}

struct OkCase {
  const char* typed;
  const char* message;  // empty: accepted
  unsigned icon;
};

TEST_F(FormulaDesignDlgTest, OkRefusesWhatTheValidatorRefuses) {
  const OkCase cases[] = {
      {"", "Formula should not be empty. Please enter formula.", platform::MB_ICONERROR},
      {"   ", "Formula should not be empty. Please enter formula.", platform::MB_ICONERROR},
      {"$name", "Column used in expression $name is text type column, use NUM() function to convert it to number.",
       platform::MB_ICONERROR},
      {"$Name + 1", "Column used in expression $Name+1 is text type column, use NUM() function to convert it to number.",
       platform::MB_ICONERROR},
      {"ABS($Price", "Missing closing parenthesis of function is expression : ABS($PRICE", platform::MB_ICONERROR},
      {"2 + #", "Invalid Formula !!", platform::MB_ICONERROR},
      {"$<Name> + 1",
       "\"$<Name> + 1\" cannot be stored in the form: it contains \"<Name>\", which the stored form uses to mark "
       "its values.",
       platform::MB_ICONINFORMATION},
      {"NUM($Name) * $Unit Cost", "", 0},
  };
  for (const OkCase& c : cases) {
    CFormulaDesignDlg dialog(Columns(), QString());
    dialog.show();
    Control<QLineEdit>(dialog, "1055")->setText(QString::fromUtf8(c.typed));
    Control<CBMButton>(dialog, "1")->click();
    EXPECT_EQ(TakeBox(c.icon), QString::fromUtf8(c.message)) << c.typed;
    EXPECT_EQ(dialog.result(), *c.message == 0 ? QDialog::Accepted : QDialog::Rejected) << c.typed;
    EXPECT_EQ(dialog.GetFormula(), *c.message == 0 ? QString::fromUtf8(c.typed) : QString()) << c.typed;
  }
}

TEST_F(FormulaDesignDlgTest, HelpOpensTopic33AndCancelKeepsTheFormula) {
  CFormulaDesignDlg dialog(Columns(), QStringLiteral("$Price"));
  dialog.show();
  ExpectHelp(Control<CBMButton>(dialog, "1175"), 33);
  Control<QLineEdit>(dialog, "1055")->setText(QStringLiteral("$Price * 3"));
  Control<CBMButton>(dialog, "2")->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.GetFormula(), QStringLiteral("$Price"));
}

}  // namespace
