#pragma once

#include <QString>

// One input parameter of a stored procedure as the parameter dialog asks for it; all texts, as
// the page lists them.
struct ParameterRecord {
  QString name;
  QString typeName;       // "SQL_INTEGER", "SQL_VARCHAR", ...
  QString directionName;  // "INPUT", "INPUT_OUTPUT", ...
  QString value;
};
