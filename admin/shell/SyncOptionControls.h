#pragma once

#include <QString>

#include <cstdint>

class QPoint;
class QRadioButton;
class QSpinBox;
class QWidget;

// The sync option of a device user as both user dialogs offer it: "Sync Menu" or "Sync Time
// Interval" with days, hours and minutes. The controls belong to the dialog they are made on.
class SyncOptionControls {
 public:
  SyncOptionControls(QWidget* dialog, const QPoint& origin);

  QRadioButton* SyncMenu() const { return m_pSyncMenu; }
  QRadioButton* SyncInterval() const { return m_pSyncInterval; }

  // The day, hour and minute controls are usable exactly when "Sync Menu" is not checked.
  void EnableSyncIntervalControls();
  // Checks the option's button and shows the interval (minutes) as days, hours and minutes.
  void ShowSyncOption(int32_t option, int32_t interval);
  // The chosen option and interval, 0 and 0 for "Sync Menu". An interval of no minute is refused
  // with its box on `owner`, and false.
  bool ReadSyncOption(QWidget* owner, int32_t* option, int32_t* interval) const;

 private:
  QSpinBox* AddNumber(QWidget* dialog, const QString& label, const QString& id, int maximum, const QPoint& place);

  QRadioButton* m_pSyncMenu;
  QRadioButton* m_pSyncInterval;
  QSpinBox* m_pDays;
  QSpinBox* m_pHours;
  QSpinBox* m_pMinutes;
};
