#pragma once

#include "admin/foundation/FormControlInfo.h"

#include <QString>

#include <memory>
#include <vector>

// One tab of a form: its title, its controls (indexes 0..n-1 without gaps) and how far its
// canvas is scrolled down. The tab owns its control records.
class FormTabInfo {
 public:
  FormTabInfo(int index, const QString& title);
  virtual ~FormTabInfo();
  FormTabInfo(const FormTabInfo&) = delete;
  FormTabInfo& operator=(const FormTabInfo&) = delete;

  void SetFormTabTitle(const QString& title) { m_strTitle = title; }
  QString GetFormTabTitle() const { return m_strTitle; }

  int GetControlCount() const { return static_cast<int>(m_controls.size()); }
  // Null for an index outside 0..count-1.
  FormControlInfo* GetControl(int index) const;
  // Adds the control under the next index and returns that index.
  int AddControl(std::unique_ptr<FormControlInfo> control);
  // Destroys the control; the controls above move down one index. False for an
  // index outside 0..count-1.
  bool RemoveControl(int index);

  int TabIndex = 0;
  int VerticalOffset = 0;  // pixels the tab's canvas is scrolled down

 private:
  QString m_strTitle;
  std::vector<std::unique_ptr<FormControlInfo>> m_controls;
};
