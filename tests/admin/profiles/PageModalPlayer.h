#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QList>
#include <QTimer>

#include <functional>

// Plays the user of the modal dialogs a page opens: each dialog that appears gets the next
// scripted step; a dialog with no step left is rejected.
class PageModalPlayer {
 public:
  using Step = std::function<void(QDialog*)>;

  explicit PageModalPlayer(QList<Step> steps) : steps_(std::move(steps)) {
    timer_.callOnTimeout([this] { Look(); });
    timer_.start(5);
  }

 private:
  void Look() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || busy_) return;
    busy_ = true;
    if (steps_.isEmpty()) {
      dialog->reject();
    } else {
      steps_.takeFirst()(dialog);
    }
    busy_ = false;
  }

  QList<Step> steps_;
  QTimer timer_;
  bool busy_ = false;
};

template <typename Control>
Control* Child(QWidget* parent, const char* id) {
  return parent->findChild<Control*>(QString::fromLatin1(id));
}

inline void Click(QWidget* parent, const char* id) { Child<QAbstractButton>(parent, id)->click(); }
