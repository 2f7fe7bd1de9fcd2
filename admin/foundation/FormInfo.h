#pragma once

#include "admin/foundation/FormTabInfo.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// A form as the designer edits it: its tabs (indexes 0..n-1 without gaps, each owned with its
// controls) and the form-wide values. The tab count is the number of tabs
// held, never a separate counter.
class FormInfo {
 public:
  FormInfo();
  virtual ~FormInfo();
  FormInfo(const FormInfo&) = delete;
  FormInfo& operator=(const FormInfo&) = delete;

  void SetFormName(const QString& name) { m_strFormName = name; }
  QString GetFormName() const { return m_strFormName; }

  int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
  // Null for an index outside 0..count-1.
  FormTabInfo* GetTab(int index) const;
  // With index equal to the tab count, appends a new tab; with the index of a tab held,
  // replaces that tab (its controls are destroyed) and the count stays. Any other
  // index would leave a gap and is refused (false).
  bool AddFormTab(int index, const QString& title);
  // Destroys the tab with its controls; later tabs move down one index and take their new
  // index. False for an index outside 0..count-1.
  bool RemoveFormTab(int index);

  QString ProfileName;
  int32_t ProfileID = 0;
  QString FormText;    // form-level text as read from the settings database
  int32_t FontSize = 10;
  int32_t FormID = 0;  // identifier of the stored form being edited
  int32_t R = 0, G = 0, B = 0;

 private:
  QString m_strFormName;
  std::vector<std::unique_ptr<FormTabInfo>> m_tabs;
};
