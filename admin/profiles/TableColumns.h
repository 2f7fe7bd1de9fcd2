#pragma once

#include "admin/profiles/SelectQueryBuilder.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// One column of the table page's column list.
struct ListedColumn {
  QString listedName;  // in the source's quotes
  QString typeName;    // "SQL_UNKNOWN_TYPE" for a type the devices cannot take
  bool primaryKey = false;
  bool ticked = false;  // as a newly chosen table starts: every column the devices can take
  int16_t typeCode = 0;  // the catalogue's SQL type, 0 for a type the devices cannot take
};

// The name the catalogue knows the table by: a workbook's sheet as its export "New_<sheet>.txt",
// an Oracle name with a blank in double quotes.
QString CatalogTableName(const SelectSource& source, const QString& table);

// The columns of the table with their types and keys. A column of an unsupported type (a BIGINT
// key) is listed, unticked, and does not refuse the table.
QList<ListedColumn> ListTableColumns(admin::CDatabseConnection& connection, const SelectSource& source, const QString& table);
