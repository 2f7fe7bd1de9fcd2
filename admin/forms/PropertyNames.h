#pragma once

#include <QString>

// The properties the designer's grid shows, by id (1 to 31) and label.
enum PropertyId {
  kPropertyCaption = 1,
  kPropertyDefaultValue = 3,
  kPropertyFormSelection = 27,
  kPropertyFormula = 28,
};

// The id of the label (exact comparison); -1 for any other text.
int GetPropertyId(const QString& label);
// The label of the id; "Other" outside 1 to 31.
QString GetPropertyName(int id);
