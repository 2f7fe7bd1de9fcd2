#include "admin/forms/FormTextLog.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/FormCodes.h"

// Every line is filled in one pass (QString::arg with all values at once), so a caption that
// holds "%2" stays as it is.
namespace {

QString N(qint64 value) { return QString::number(value); }
QString Colour(uint32_t value) { return N(static_cast<int32_t>(value)); }

QStringList ComboBoxLines(const FormControlProperties& c) {
  QStringList lines{QStringLiteral("ComboBox, Data Column : %1, SrcType : %2, ItemEdit : %3, Disabled : %4")
                        .arg(c.DataColumn, N(c.SrcType), N(c.ItemEdit), N(c.Disabled))};
  if (c.SrcType == kSourceValuedList) {
    QString items = QStringLiteral("DefaultValue : %1, NumItem : %2, ").arg(c.DefaultValue, N(c.Items.size()));
    for (const QString& item : c.Items) items += QStringLiteral("Item : ") + item;
    lines << items;
  } else if (c.SrcType == kSourceAnotherProfile) {
    lines << QStringLiteral("ProfileID : %1, LkCol : %2, LkViewCol : %3").arg(N(c.LkProfileID), c.LkCol, c.LkViewCol);
  }
  return lines;
}

QStringList ButtonLines(const FormControlProperties& c, bool writing) {
  QStringList lines{QStringLiteral("Button, Caption : %1, Action : %2, Disabled : %3, BgColor : %4")
                        .arg(c.Caption, c.Action, N(c.Disabled), FormatRgbText(c.BgR, c.BgG, c.BgB))};
  if (c.Action != kGoToFormAction) return lines;
  QString links = QStringLiteral("NumGoToForm : ") + N(static_cast<qint64>(c.GoToForms.size()));
  if (writing) links += QStringLiteral(", ");
  for (const GoToFormInfo& link : c.GoToForms)
    links += QStringLiteral("SrcField : %1, DestForm : %2, DestField : %3").arg(link.SrcField, link.DestForm, link.DestField);
  return lines << links;
}

QString FormulaLine(const QString& kind, const FormControlProperties& c) {
  QString line = QStringLiteral("%1, Formula : %2, IsDataColumn : %3").arg(kind, c.Formula, N(c.IsDataCol));
  if (c.IsDataCol != 0) line += QStringLiteral(", DataColumn : ") + c.DataColumn;
  return line;
}

}  // namespace

QString DescribeCommonValues(const StoredControl& control) {
  const FormControlProperties& c = control.Properties;
  return QStringLiteral("X : %1, Y : %2, Width : %3, Height : %4, FontFace : %5, FontSz : %6, "
                        "FontStyle : %7, FgColor : %8, Visible : %9")
      .arg(N(control.X), N(control.Y), N(control.Width), N(control.Height), GetFontNameText(c.FontFace),
           N(c.FontSize), N(c.FontStyle), FormatRgbText(c.TxtR, c.TxtG, c.TxtB), N(c.Visible));
}

QStringList DescribeTypeValues(const FormControlProperties& c, bool writing) {
  switch (c.Type) {
    case kLabel:
      return {QStringLiteral("Label, Caption : %1, Align : %2").arg(c.Caption, N(c.AlignText))};
    case kTextBox:
      return {QStringLiteral("TextBox, DataColumn : %1, DefaultValue : %2, ReadOnly : %3")
                  .arg(c.DataColumn, c.DefaultValue, N(c.ReadOnly))};
    case kCheckBox:
      return {QStringLiteral("CheckBox, DataColumn : %1, Caption : %2, DefaultValue : %3, UnCheck : %4, "
                             "Check : %5, Disabled : %6, RectDW : %7, MarkDW : %8")
                  .arg(c.DataColumn, c.Caption, c.DefaultValue, c.UnChecked, c.Checked, N(c.Disabled),
                       Colour(c.RectDW), Colour(c.MarkDW))};
    case kComboBox:
      return ComboBoxLines(c);
    case kButton:
      return ButtonLines(c, writing);
    case kDateTime:
      return {QStringLiteral("DateTime, DataColumn : %1, Format : %2, Disabled : %3")
                  .arg(c.DataColumn, N(c.Format), N(c.Disabled))};
    case kRadioButton:
      return {QStringLiteral("Radio, Caption : %1, Selected : %2, Group : %3, Disabled : %4, RectDW : %5, MarkDW : %6")
                  .arg(c.Caption, N(c.Selected), c.Group, N(c.Disabled), Colour(c.RectDW), Colour(c.MarkDW))};
    case kFormulaField:
      return {FormulaLine(QStringLiteral("Formula Field"), c)};
    case kConditionalField:
      return {FormulaLine(QStringLiteral("Conditional Field"), c)};
    default:
      return {};
  }
}

void LogStoredControl(QStringView prefix, const StoredControl& stored, int32_t shownFontSize, bool writing) {
  StoredControl shown = stored;
  shown.Properties.FontSize = shownFontSize;
  WriteAppLog(-1, prefix.toString() + DescribeCommonValues(shown));
  for (const QString& line : DescribeTypeValues(stored.Properties, writing)) WriteAppLog(-1, prefix.toString() + line);
}
