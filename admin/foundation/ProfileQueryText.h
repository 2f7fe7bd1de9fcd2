#pragma once

#include <QString>

// Texts the profile pages and readers derive from a profile's query or procedure call.

// The parts of a SELECT text, each without its keyword and trimmed.
struct SelectQueryParts {
  QString columns;  // between SELECT and FROM
  QString from;     // the table part, up to WHERE or ORDER BY
  QString where;
  QString orderBy;
};

// Splits a SELECT at its keywords, found as whole words in any case outside quoted text. A text
// without FROM gives its column part only.
SelectQueryParts SplitSelectQuery(const QString& query);

// The procedure a stored call text runs: after CALL up to "(" for a MySQL or MariaDB driver
// (`driverDescription`) and for the escape "{call "name"(arguments)}" of any driver, else the
// name in double quotes after EXEC. A quoted name loses its quotes and has its doubled quote
// halved. Empty without the keyword.
QString GetProcedureNameFromCall(const QString& driverDescription, const QString& callText);

// The arguments of a stored call text: inside the parentheses of a CALL (plain or escaped), or
// after the name of an EXEC; double quotes removed and blanks trimmed. Empty without the keyword.
QString GetProcedureArgsFromCall(const QString& driverDescription, const QString& callText);

// The query on the text export of a workbook, whose files are named "New_" + sheet: "New_" goes
// before the table name after FROM (inside its double quote), unless the name already starts
// with it. A text without FROM stays as it is.
QString QueryOnWorkbookExport(const QString& query);
