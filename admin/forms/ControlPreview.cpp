#include "admin/forms/ControlPreview.h"

#include "admin/foundation/FormCodes.h"
#include "admin/foundation/FormControlInfo.h"
#include "admin/shell/ControlButton.h"

void ShowControlValues(const FormControlInfo& control, CControlButton* window) {
  window->SetFontFace(control.FontFace);
  window->SetFontSize(control.FontSize);
  window->SetFontStyle(control.FontStyle);
  window->SetTextColor(QColor(control.TxtR & 0xFF, control.TxtG & 0xFF, control.TxtB & 0xFF));
  switch (control.Type) {
    case kLabel:
      window->SetWindowText(control.Caption);
      SetControlAlignment(GetAlignmentText(control.AlignText), window);
      break;
    case kTextBox:
      window->SetWindowText(control.DefaultValue);
      break;
    case kCheckBox:
      window->SetWindowText(control.Caption);
      window->SetControlType(control.DefaultValue == QStringLiteral("Checked") ? 1 : 0);
      break;
    case kComboBox:
      window->SetWindowText(control.SrcType == kSourceValuedList ? control.DefaultValue : QString());
      break;
    case kButton:
      window->SetWindowText(control.Caption);
      window->SetBackgroundColor(QColor(control.BgR & 0xFF, control.BgG & 0xFF, control.BgB & 0xFF));
      break;
    case kDateTime:
      window->SetWindowText(GetCurrentDateTimeText(control.Format));
      break;
    case kRadioButton:
      window->SetWindowText(control.Caption);
      window->SetControlType(control.Selected);
      break;
    default:
      break;
  }
}
