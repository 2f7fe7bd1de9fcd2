#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The plain records of a stored form, as its tagged texts carry them: the form-level text (radio
// groups, canvas size, font size, colour, default values of unmapped columns) and, per tab, the
// controls with their rectangles and properties. Both programs read the texts into these.

enum FormControlType : int32_t {
  kLabel = 1,
  kTextBox = 2,
  kCheckBox = 3,
  kComboBox = 4,
  kButton = 5,
  kDateTime = 6,
  kRadioButton = 7,
  kFormulaField = 8,
  kConditionalField = 9,
};

// The Button action that carries a list of Go To Form links (compared exactly).
inline const QString kGoToFormAction = QStringLiteral("Go To Form");

// ComboBox sources.
inline constexpr int32_t kSourceValuedList = 1;
inline constexpr int32_t kSourceAnotherProfile = 2;

// One field mapping of a Go To Form button.
struct GoToFormInfo {
  QString SrcField;   // column of this form
  QString DestForm;   // title of the target form
  QString DestField;  // column of the target form

  bool operator==(const GoToFormInfo&) const = default;
};

// One radio-button group of a form; the designer names it "Group_" + its data column.
struct RadioGroupInfo {
  QString Name;
  QString DataColumn;
  int32_t NumRdBtn = 0;

  bool operator==(const RadioGroupInfo&) const = default;
};

// The default value of a profile column that no control of the form maps.
struct FieldDefaultValue {
  QString FldName;
  QString FldDefValue;

  bool operator==(const FieldDefaultValue&) const = default;
};

// The properties of one control; which of them its text carries depends on Type.
struct FormControlProperties {
  int32_t Type = 0;
  QString Caption;
  int32_t AlignText = 0;  // 0 left, 1 center, 2 right
  QString DefaultValue;
  QString UnChecked;      // value stored for an unchecked check box
  QString Checked;        // value stored for a checked check box
  QString Action;         // button action
  QString DataColumn;
  int32_t Format = 0;     // date/time format
  int32_t Selected = 0;   // 1 for the selected radio button
  QString Group;          // radio group name
  QStringList Items;      // combo box item list
  int32_t SrcType = 0;    // combo box source
  int32_t ItemEdit = 0;
  int32_t LkProfileID = 0;
  QString LkCol;
  QString LkViewCol;
  int32_t ReadOnly = 0;
  int32_t Disabled = 0;
  int32_t Visible = 0;
  int32_t FontFace = 0;   // 0 Verdana, 1 Times New Roman, 2 Tahoma, 3 Arial, 4 Century, 5 Microsoft Sans Serif
  int32_t FontSize = 0;
  int32_t FontStyle = 0;  // 0 regular, 1 italic, 2 bold, 3 bold italic
  int32_t BgR = 0, BgG = 0, BgB = 0;
  int32_t TxtR = 0, TxtG = 0, TxtB = 0;
  std::vector<GoToFormInfo> GoToForms;
  QString Formula;
  int32_t IsDataCol = 0;
  uint32_t RectDW = 0;  // box or circle colour, red in the low byte
  uint32_t MarkDW = 0;  // check mark or dot colour, same layout

  bool operator==(const FormControlProperties&) const = default;
};

// A control as its tab text stores it: the rectangle relative to the unscrolled tab and the
// properties, font size included as stored (device offset added).
struct StoredControl {
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
  FormControlProperties Properties;

  bool operator==(const StoredControl&) const = default;
};

// The form-level text's values; FontSize as stored (device offset added).
struct FormLevelInfo {
  std::vector<RadioGroupInfo> Groups;
  int32_t Height = 0, Width = 0;
  int32_t FontSize = 0;
  int32_t R = 0, G = 0, B = 0;
  std::vector<FieldDefaultValue> DefaultValues;

  bool operator==(const FormLevelInfo&) const = default;
};

// The device type of a desktop registration (DeskInfo), as stored.
enum class DeviceType : uint16_t {
  BlackBerry = 1,
  IPhone = 2,
  PocketPc = 3,
  IPad = 4,
};

// What the stored font sizes carry on top of the designer's for the registered device type:
// 10 for the iPad, 5 for the iPhone, nothing for the others.
inline int DeviceFontOffset(DeviceType deviceType) {
  switch (deviceType) {
    case DeviceType::IPad: return 10;
    case DeviceType::IPhone: return 5;
    default: return 0;
  }
}
