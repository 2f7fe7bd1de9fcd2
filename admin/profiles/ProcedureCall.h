#pragma once

#include "admin/profiles/ParameterRecord.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// The parameters of a stored procedure and the call text a procedure profile stores.

struct ProcedureParameter {
  QString name;
  int16_t kind = 0;  // SQL_PARAM_INPUT, SQL_PARAM_OUTPUT, ... (SQLProcedureColumns' COLUMN_TYPE)
  int16_t sqlType = 0;

  bool operator==(const ProcedureParameter&) const = default;
};

// Parses a MySQL or MariaDB `param_list` ("IN a INT, OUT b DECIMAL(10,2)"): items at the commas
// outside parentheses, words at any white space; a leading IN, OUT, INOUT or RETURNS (any case)
// gives the kind, else the item is an input. An item of too few words ends the parsing; the
// items before it are kept.
QList<ProcedureParameter> ParseMySqlParamList(const QString& paramList);

// The parameters of a MySQL or MariaDB procedure, from mysql.proc's param_list (the database
// the data source name points at); empty when it cannot be read.
QList<ProcedureParameter> GetMySqlProcedureParams(const admin::CDatabseConnection& connection, const QString& dataSourceName,
                                                  const QString& procedure);

// The parameters of the procedure: for a MySQL or MariaDB source read from mysql.proc (the
// database the data source name points at), else, and when that fails or finds nothing, from
// the driver's procedure columns.
QList<ProcedureParameter> GetProcedureParameters(admin::CDatabseConnection& connection, const QString& dataSourceName,
                                                 const QString& procedure, bool mySql);

// The records the parameter dialog asks for: inputs and input/outputs, in order, with their type
// and direction names as the page lists them. Output and return values are the procedure's to
// give; result columns too (PostgreSQL lists a set-returning function's columns among its
// parameters, and a call with values for them fails).
QList<ParameterRecord> ParameterRecordsToAsk(const QList<ProcedureParameter>& parameters);

// The value as it stands in the call: its single quotes doubled, in single quotes for a
// character, date or time type (`typeName` as the page lists it, any case), else bare.
QString FormatParameterValue(const QString& typeName, const QString& value);
// Whether a value may go into the call: any value of a quoted type; for the others a number or
// "null" (any case), since the sync program runs the call on every turn.
bool IsAcceptedParameterValue(const QString& typeName, const QString& value);
// The formatted values of the records joined by ", ", in order.
QString JoinParameterValues(const QList<ParameterRecord>& records);

// How a source calls a procedure: "exec "p" args", MySQL's "call `p` (args)", or the ODBC
// escape "{call "p"(args)}" for PostgreSQL, which has no EXEC.
enum class CallSyntax { kExec, kMySql, kEscape };
CallSyntax CallSyntaxOf(bool mySql, const QString& productName);

// The call start ("exec "p"", "call `p`", "{call "p""), the quote inside the name doubled.
QString BuildCallStart(CallSyntax syntax, const QString& procedure);
// The whole call text with `arguments` (already formatted and joined).
QString BuildCallText(CallSyntax syntax, const QString& procedure, const QString& arguments);
