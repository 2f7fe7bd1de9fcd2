#pragma once

#include <QObject>
#include <QPoint>

#include <array>

class CStaticExG;
class QWidget;

// The nine toolbox entries of the designer page, one per control type; the armed one looks
// pressed. A click on an entry asks the page to arm its type.
class CDesignerToolbox : public QObject {
  Q_OBJECT

 public:
  // Lays the entries out downwards from `topLeft` on the page.
  CDesignerToolbox(QWidget* page, const QPoint& topLeft);

  // The entry of the type (1 to 9); null for any other.
  CStaticExG* GetEntry(int type) const;
  // Draws every entry unselected, then the armed one (0 for none) selected.
  void ShowArmed(int type);

 Q_SIGNALS:
  void EntryClicked(int type);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<CStaticExG*, 9> m_entries{};
};
