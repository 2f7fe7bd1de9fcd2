#include "admin/shell/SyncOptionControls.h"

#include "admin/foundation/AppLog.h"
#include "platform/widgets/MessageBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace {

constexpr int32_t kMinutesPerDay = 1440;
constexpr int32_t kMinutesPerHour = 60;

}  // namespace

SyncOptionControls::SyncOptionControls(QWidget* dialog, const QPoint& origin) {
  auto* group = new QGroupBox(QStringLiteral("Select Sync Options"), dialog);
  group->setGeometry(origin.x(), origin.y(), 360, 110);
  m_pSyncMenu = new QRadioButton(QStringLiteral("Sync Menu"), dialog);
  m_pSyncMenu->setObjectName(QStringLiteral("1122"));
  m_pSyncMenu->setGeometry(origin.x() + 16, origin.y() + 24, 150, 22);
  m_pSyncInterval = new QRadioButton(QStringLiteral("Sync Time Interval"), dialog);
  m_pSyncInterval->setObjectName(QStringLiteral("1123"));
  m_pSyncInterval->setGeometry(origin.x() + 180, origin.y() + 24, 170, 22);
  m_pDays = AddNumber(dialog, QStringLiteral("Days"), QStringLiteral("1135"), 30, origin + QPoint(16, 60));
  m_pHours = AddNumber(dialog, QStringLiteral("Hours"), QStringLiteral("1138"), 23, origin + QPoint(130, 60));
  m_pMinutes = AddNumber(dialog, QStringLiteral("Minutes"), QStringLiteral("1141"), 59, origin + QPoint(244, 60));
}

// The number is changed with the arrow keys and buttons only, never typed.
QSpinBox* SyncOptionControls::AddNumber(QWidget* dialog, const QString& label, const QString& id, int maximum,
                                        const QPoint& place) {
  auto* spin = new QSpinBox(dialog);
  spin->setObjectName(id);
  spin->setRange(0, maximum);
  spin->setGeometry(place.x(), place.y(), 50, 24);
  spin->findChild<QLineEdit*>()->setReadOnly(true);
  (new QLabel(label, dialog))->setGeometry(place.x() + 54, place.y(), 56, 24);
  return spin;
}

void SyncOptionControls::EnableSyncIntervalControls() {
  const bool interval = !m_pSyncMenu->isChecked();
  for (QSpinBox* number : {m_pDays, m_pHours, m_pMinutes}) number->setEnabled(interval);
}

void SyncOptionControls::ShowSyncOption(int32_t option, int32_t interval) {
  if (option == 1) {
    m_pSyncInterval->setChecked(true);
    m_pDays->setValue(interval / kMinutesPerDay);
    m_pHours->setValue(interval % kMinutesPerDay / kMinutesPerHour);
    m_pMinutes->setValue(interval % kMinutesPerHour);
  } else {
    m_pSyncMenu->setChecked(true);
  }
  EnableSyncIntervalControls();
}

bool SyncOptionControls::ReadSyncOption(QWidget* owner, int32_t* option, int32_t* interval) const {
  if (m_pSyncMenu->isChecked()) {
    *option = 0;
    *interval = 0;
    return true;
  }
  const int32_t minutes = m_pDays->value() * kMinutesPerDay + m_pHours->value() * kMinutesPerHour + m_pMinutes->value();
  if (minutes == 0) {
    platform::MessageBox(owner, QStringLiteral("Sync Interval must greater than equal to 1 Minute."), ProgramTitle(),
                         platform::MB_OK);
    return false;
  }
  *option = 1;
  *interval = minutes;
  return true;
}
