#pragma once

#include <QString>

// The properties of form controls by number, as the designer's grids carry them on their rows.
enum FormPropertyId : int {
  kPropCaption = 1,
  kPropAlignText = 2,
  kPropDefaultValue = 3,
  kPropUnChecked = 4,
  kPropChecked = 5,
  kPropAction = 6,
  kPropFormName = 7,
  kPropProfileName = 8,
  kPropDataColumn = 9,
  kPropColumns = 10,
  kPropHeight = 11,
  kPropFormat = 12,
  kPropSelected = 13,
  kPropGroup = 14,
  kPropSourceType = 15,
  kPropAllowItemEdit = 16,
  kPropLookupProfile = 17,
  kPropLookupColumn = 18,
  kPropReadOnly = 19,
  kPropDisabled = 20,
  kPropFontSize = 21,
  kPropFontStyle = 22,
  kPropFormColor = 23,
  kPropBackColor = 24,
  kPropForeColor = 25,
  kPropViewColumn = 26,
  kPropFormSelection = 27,
  kPropFormula = 28,
  kPropIsDataColumn = 29,
  kPropVisible = 30,
  kPropFontName = 31,
};

// The number of a property's label, compared exactly; -1 for any other text.
int GetPropertyId(const QString& label);
// The label of a property number; "Other" for a number outside 1 to 31.
QString GetPropertyName(int id);
