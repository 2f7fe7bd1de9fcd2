#pragma once

#include "admin/forms/DesignerProfile.h"
#include "admin/forms/FormMapping.h"
#include "admin/forms/ProfileColumn.h"
#include "admin/forms/RadioGroups.h"
#include "admin/foundation/FormInfo.h"
#include "shared/formtext/FormTextRecords.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class ControlWindows;
class QWidget;

// The form being designed: its tabs and controls, its radio groups, the default values of the
// profile columns no control maps, its colour, the profile it is built on (number, kind, columns
// and the Button actions that kind allows) and whether it is new or an edit of a stored form.
// It writes itself to its stored tagged texts and reads itself back from them; the designer page,
// its canvas, grids and saver all work on it. Where a text holds a control's rectangle or the
// canvas size, the page says where its canvas lies; stored font sizes carry the device's offset.
class FormDocument {
 public:
  static constexpr int kNewMode = 0;
  static constexpr int kEditMode = 1;

  FormInfo& GetFormInfo() { return m_FormInfo; }
  const FormInfo& GetFormInfo() const { return m_FormInfo; }
  std::vector<RadioGroupInfo>& GetRadioGroups() { return m_RadioGroups; }
  const std::vector<RadioGroupInfo>& GetRadioGroups() const { return m_RadioGroups; }
  std::vector<FieldDefaultValue>& GetDefaultValues() { return m_DefaultValues; }
  const std::vector<FieldDefaultValue>& GetDefaultValues() const { return m_DefaultValues; }

  QColor GetFormColor() const { return m_formColor; }
  void SetFormColor(const QColor& color);

  void SetEditMode(int mode) { m_nEditMode = mode; }
  bool IsEditMode() const { return m_nEditMode == kEditMode; }
  // The stored title of the edited form, as it was opened.
  QString GetEditedTitle() const { return m_strEditedTitle; }
  void KeepEditedTitle() { m_strEditedTitle = m_FormInfo.GetFormName(); }

  // The profile's columns with their SQL type names, and its kind (ProfileType).
  void SetProfileColumns(const ProfileColumns& columns) { m_ProfileColumns = columns; }
  const ProfileColumns& GetProfileColumns() const { return m_ProfileColumns; }
  void SetProfileType(int32_t profileType) { m_nProfileType = profileType; }
  int32_t GetProfileType() const { return m_nProfileType; }
  // Takes the loaded profile's number, kind and columns.
  void SetLoadedProfile(const DesignerProfile& profile);
  // The actions the profile's Buttons may take (by ProfileType: 0 table, 1 view, 2 stored
  // procedure).
  void BuildActionList(int profileType);
  const QStringList& GetActionList() const { return m_ActionList; }
  // The rules of what the form's controls map, and of its radio groups, over this form.
  CFormMapping Mapping() const { return CFormMapping(m_ProfileColumns, m_FormInfo, m_RadioGroups, m_ActionList); }
  CRadioGroups RadioGroups() { return CRadioGroups(m_RadioGroups, m_FormInfo, m_ProfileColumns); }

  // The form-level text for a canvas frame of that size; false with the reason in `error`
  // when a value cannot be stored as it is.
  bool WriteFormText(QSize canvasFrame, int fontOffset, QString* text, QString* error) const;
  // The text of the tab at the index, each control's rectangle that of its window among
  // `windows`, taken relative to the canvas; false with the reason as above, or for no such tab.
  bool WriteTabText(int tabIndex, const ControlWindows& windows, const QRect& canvas, int fontOffset, QString* text,
                    QString* error) const;
  // Reads the form-level text (the form's FormText): the radio groups and default values join
  // the form's, the font size and colour replace its own. False when it was not read whole
  // (what was wrong is in the log).
  bool ReadFormText(int fontOffset);
  // The controls of a tab's text as stored; what was wrong in the text goes to `problems`.
  static std::vector<StoredControl> ReadTabText(const QString& text, QStringList* problems);

  // A font size as stored (with the device's offset) and as the designer shows it; a size at
  // the end of the 32-bit range stays there instead of overflowing.
  static int32_t StoredFontSize(int32_t designerSize, int fontOffset);
  static int32_t DesignerFontSize(int32_t storedSize, int fontOffset);

 private:
  StoredControl ToStored(const FormTabInfo& tab, const FormControlInfo& control, const QWidget* window,
                         const QRect& canvas, int fontOffset) const;

  FormInfo m_FormInfo;
  std::vector<RadioGroupInfo> m_RadioGroups;
  std::vector<FieldDefaultValue> m_DefaultValues;
  QColor m_formColor = Qt::white;
  int m_nEditMode = kNewMode;
  QString m_strEditedTitle;
  ProfileColumns m_ProfileColumns;
  int32_t m_nProfileType = 0;
  QStringList m_ActionList;
};
