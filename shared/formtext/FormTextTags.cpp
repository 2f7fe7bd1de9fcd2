#include "shared/formtext/FormTextTags.h"

namespace formtext {

namespace {

using P = FormControlProperties;

constexpr Tag kCommon[] = {
    {u"FontFace", &P::FontFace}, {u"FontSize", &P::FontSize}, {u"FontStyle", &P::FontStyle},
    {u"TxtR", &P::TxtR},         {u"TxtG", &P::TxtG},         {u"TxtB", &P::TxtB},
    {u"Visible", &P::Visible},   {u"Type", &P::Type},
};
constexpr Tag kLabelTags[] = {{u"Caption", &P::Caption}, {u"AlignText", &P::AlignText}};
constexpr Tag kTextBoxTags[] = {
    {u"DataColumn", &P::DataColumn}, {u"DefaultValue", &P::DefaultValue}, {u"ReadOnly", &P::ReadOnly}};
constexpr Tag kCheckBoxTags[] = {
    {u"DataColumn", &P::DataColumn}, {u"Caption", &P::Caption}, {u"DefaultValue", &P::DefaultValue},
    {u"UnChecked", &P::UnChecked},   {u"Checked", &P::Checked}, {u"Disabled", &P::Disabled},
    {u"RectDW", &P::RectDW},         {u"MarkDW", &P::MarkDW}};
constexpr Tag kComboBoxTags[] = {
    {u"DataColumn", &P::DataColumn}, {u"SrcType", &P::SrcType}, {u"ItemEdit", &P::ItemEdit},
    {u"Disabled", &P::Disabled}};
constexpr Tag kButtonTags[] = {
    {u"Caption", &P::Caption}, {u"Action", &P::Action}, {u"Disabled", &P::Disabled},
    {u"BgR", &P::BgR},         {u"BgG", &P::BgG},       {u"BgB", &P::BgB}};
constexpr Tag kDateTimeTags[] = {
    {u"DataColumn", &P::DataColumn}, {u"Format", &P::Format}, {u"Disabled", &P::Disabled}};
constexpr Tag kRadioButtonTags[] = {
    {u"Caption", &P::Caption},   {u"Selected", &P::Selected}, {u"Group", &P::Group},
    {u"Disabled", &P::Disabled}, {u"RectDW", &P::RectDW},     {u"MarkDW", &P::MarkDW}};
constexpr Tag kFormulaTags[] = {{u"Formula", &P::Formula}, {u"IsDataCol", &P::IsDataCol}};
constexpr Tag kValuedListTags[] = {{u"DefaultValue", &P::DefaultValue}};
constexpr Tag kLookupTags[] = {
    {u"LkProfileID", &P::LkProfileID}, {u"LkCol", &P::LkCol}, {u"LkViewCol", &P::LkViewCol}};
constexpr Tag kFormulaColumnTags[] = {{u"DataColumn", &P::DataColumn}};

}  // namespace

std::span<const Tag> CommonTags() { return kCommon; }

std::span<const Tag> FixedTags(int32_t type) {
  switch (type) {
    case kLabel: return kLabelTags;
    case kTextBox: return kTextBoxTags;
    case kCheckBox: return kCheckBoxTags;
    case kComboBox: return kComboBoxTags;
    case kButton: return kButtonTags;
    case kDateTime: return kDateTimeTags;
    case kRadioButton: return kRadioButtonTags;
    case kFormulaField:
    case kConditionalField: return kFormulaTags;
    default: return {};
  }
}

std::span<const Tag> DependentTags(const FormControlProperties& control) {
  if (control.Type == kComboBox && control.SrcType == kSourceValuedList) return kValuedListTags;
  if (control.Type == kComboBox && control.SrcType == kSourceAnotherProfile) return kLookupTags;
  if ((control.Type == kFormulaField || control.Type == kConditionalField) && control.IsDataCol != 0)
    return kFormulaColumnTags;
  return {};
}

bool HasItemList(const FormControlProperties& control) {
  return control.Type == kComboBox && control.SrcType == kSourceValuedList;
}

bool HasLinkList(const FormControlProperties& control) {
  return control.Type == kButton && control.Action == kGoToFormAction;
}

}  // namespace formtext
