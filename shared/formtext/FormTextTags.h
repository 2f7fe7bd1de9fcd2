#pragma once

#include "shared/formtext/FormTextRecords.h"

#include <span>
#include <variant>

// The order of a control's elements in a tab text, shared by the writer and the reader so that
// the two cannot drift apart. A control's text is its rectangle (X, Y, Width, Height), the
// common tags, the type's fixed tags, the tags that depend on a value already given (a combo
// box's source, a formula's data-column flag) and last the lists: a valued list's items
// ("NumOfItem" then "Item" each) and a Go To Form button's links ("NumGoToFrm" then
// "SrcField", "DestForm", "DestField" each).
namespace formtext {

using TextField = QString FormControlProperties::*;
using NumberField = int32_t FormControlProperties::*;
using ColourField = uint32_t FormControlProperties::*;  // written as a signed 32-bit number

struct Tag {
  const char16_t* name;
  std::variant<TextField, NumberField, ColourField> field;
};

std::span<const Tag> CommonTags();
std::span<const Tag> FixedTags(int32_t type);
std::span<const Tag> DependentTags(const FormControlProperties& control);
bool HasItemList(const FormControlProperties& control);
bool HasLinkList(const FormControlProperties& control);

}  // namespace formtext
