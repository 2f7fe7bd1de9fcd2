#include "admin/forms/DesignerToolbox.h"

#include "admin/shell/ControlButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/StaticExG.h"
#include "shared/formtext/FormTextRecords.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace {

struct ToolboxEntry {
  int id;
  const char* text;
};

// Entry i arms control type i + 1.
constexpr std::array<ToolboxEntry, 9> kEntries = {{{1244, "Label"},
                                                   {1245, "Text Box"},
                                                   {1246, "Check Box"},
                                                   {1247, "Combo Box"},
                                                   {1248, "Button"},
                                                   {1250, "Date Time"},
                                                   {1254, "RadioButton"},
                                                   {1290, "Formula"},
                                                   {1294, "Conditional"}}};
constexpr QSize kEntrySize(150, 24);
constexpr int kEntrySpacing = 2;
constexpr QSize kIconSize(30, 16);

// An entry's icon is a small preview of its type, as the canvas would show one.
QPixmap ToolboxIcon(int type) {
  static const char* const captions[] = {"Ab", "", "", "", "OK", "", "", "fx", "?"};
  CControlButton preview(type);
  preview.resize(kIconSize);
  preview.SetFontSize(7);
  preview.SetWindowText(QString::fromLatin1(captions[type - 1]));
  if (type == kButton) {
    preview.SetBackgroundColor(Qt::gray);
    preview.SetTextColor(Qt::white);
  }
  return preview.grab();
}

}  // namespace

CDesignerToolbox::CDesignerToolbox(QWidget* page, const QPoint& topLeft) : QObject(page) {
  for (size_t i = 0; i < kEntries.size(); ++i) {
    auto* entry = new CStaticExG(QString::fromLatin1(kEntries[i].text), page);
    entry->setObjectName(QString::number(kEntries[i].id));
    entry->setFont(MakeFont(QStringLiteral("Verdana"), 13, 700));
    const int top = topLeft.y() + static_cast<int>(i) * (kEntrySize.height() + kEntrySpacing);
    entry->setGeometry(QRect(QPoint(topLeft.x(), top), kEntrySize));
    entry->SetIcon(ToolboxIcon(static_cast<int>(i) + 1));
    entry->installEventFilter(this);
    m_entries[i] = entry;
  }
}

CStaticExG* CDesignerToolbox::GetEntry(int type) const {
  return type >= 1 && type <= static_cast<int>(m_entries.size()) ? m_entries[static_cast<size_t>(type - 1)] : nullptr;
}

void CDesignerToolbox::ShowArmed(int type) {
  for (CStaticExG* entry : m_entries) entry->SetPressedLook(false);
  if (CStaticExG* armed = GetEntry(type)) armed->SetPressedLook(true);
}

bool CDesignerToolbox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
    return false;
  for (size_t i = 0; i < m_entries.size(); ++i)
    if (watched == m_entries[i]) {
      Q_EMIT EntryClicked(static_cast<int>(i) + 1);
      return true;
    }
  return false;
}
