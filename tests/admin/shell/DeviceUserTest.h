#pragma once

#include "admin/shell/ColoredListCtrl.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"
#include "tests/support/DialogControls.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

namespace deviceusers {

// Clicks `button` and hands the modal dialog it opens to `answer`; a dialog still open
// afterwards is cancelled, so the click always returns.
inline void ClickAndAnswer(QPushButton* button, const std::function<void(QDialog&)>& answer) {
  const auto opened = std::make_shared<bool>(false);
  QTimer::singleShot(0, [opened, answer] {
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (modal == nullptr) return;
    *opened = true;
    answer(*modal);
    if (modal->isVisible()) modal->reject();
  });
  button->click();
  EXPECT_TRUE(*opened) << "no dialog opened";
}

using testsupport::Control;

inline QPushButton* Button(const QWidget& dialog, const char* id) { return Control<QPushButton>(dialog, id); }
inline void Type(const QWidget& dialog, const char* id, const QString& text) {
  Control<QLineEdit>(dialog, id)->setText(text);
}

inline QStringList Column(const CColoredListCtrl& list, int column) {
  QStringList texts;
  for (int row = 0; row < list.GetItemCount(); ++row) texts.append(list.GetItemText(row, column));
  return texts;
}
inline void SelectUser(CColoredListCtrl* list, const QString& pin) {
  const int row = Column(*list, 0).indexOf(pin);
  ASSERT_GE(row, 0) << qPrintable(pin);
  list->SetSelectionMark(row);
}

}  // namespace deviceusers

// The device-user dialogs on a fresh copy of the shipped settings database: users stored
// directly, their rows read back, and the modal dialogs a click opens answered from a timer.
class DeviceUserTest : public SettingsDatabaseTest {
 protected:
  static QString Quoted(QString text) { return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\''; }

  void StoreUser(const QString& pin, const QString& name, const QString& flag, int option = 0, int interval = 0,
                 int deviceType = 1) {
    Execute(QStringLiteral("INSERT INTO UserInfo VALUES (%1, %2, 'Designer', 'Sales', %3, %4, %5, %6)")
                .arg(Quoted(pin), Quoted(name), Quoted(flag))
                .arg(option)
                .arg(interval)
                .arg(deviceType));
  }

  // Box texts shown since the last call, each checked for the program's caption.
  static QStringList Boxes() {
    QStringList texts;
    for (const auto& box : Shown()) {
      EXPECT_EQ(box.caption, QStringLiteral("Tarnwick Plus Lite"));
      texts.append(box.text);
    }
    testsupport::MessageBoxRecorder::Global().Clear();
    return texts;
  }

  // PIN, Name, Designation, Department, flag, option, interval and device type of every row.
  QList<QStringList> Users() {
    return Rows(
        QStringLiteral("SELECT PIN, Name, Designation, Department, StatusFlag, SyncOption, SyncInterval, "
                       "DeviceType FROM UserInfo"));
  }
};
