#include "admin/forms/NewControlDefaults.h"

#include "admin/foundation/FormCodes.h"

namespace {

// Colours kept as one number: red in the low byte, blue in the high one.
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;

}  // namespace

void SetNewControlDefaults(FormControlProperties* control, const QString& firstFreeAction) {
  control->Visible = 1;
  control->FontFace = 0;
  control->FontSize = 10;
  control->FontStyle = 0;
  switch (control->Type) {
    case kLabel:
      control->Caption = QStringLiteral("Label");
      control->AlignText = 2;
      break;
    case kCheckBox:
      control->DefaultValue = QStringLiteral("UnChecked");
      control->UnChecked = QStringLiteral("0");
      control->Checked = QStringLiteral("1");
      control->RectDW = kWhite;
      control->MarkDW = kRed;
      break;
    case kComboBox:
      control->SrcType = kSourceValuedList;
      break;
    case kButton:
      control->Caption = firstFreeAction;
      control->BgR = control->BgG = control->BgB = 128;
      control->TxtR = control->TxtG = control->TxtB = 255;
      break;
    case kDateTime:
      control->Format = 1;
      control->Caption = GetCurrentDateTimeText(control->Format);
      break;
    case kRadioButton:
      control->RectDW = kWhite;
      control->MarkDW = kBlue;
      break;
    default:
      break;
  }
}
