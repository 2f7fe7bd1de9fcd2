#include "platform/standin/DbfTable.h"

#include "platform/text/TextDecoding.h"

#include <shapefil.h>

#include <QFile>
#include <QFileInfo>

#include <array>
#include <memory>

namespace platform {
namespace {

constexpr qsizetype kFileHeaderSize = 32;
constexpr qsizetype kFieldDescriptorSize = 32;

struct DbfCloser {
  void operator()(DBFHandle handle) const { DBFClose(handle); }
};
using DbfFile = std::unique_ptr<std::remove_pointer_t<DBFHandle>, DbfCloser>;

// shapelib reports through a hook; the last report of this thread explains a failed open.
thread_local QString t_shapelibReport;

void KeepReport(const char* message) { t_shapelibReport = QString::fromLocal8Bit(message).trimmed(); }

uint32_t LittleEndian(const QByteArray& bytes, qsizetype offset, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

// The sizes the header declares must fit the file, or a read would run past its end.
bool CheckHeader(const QString& path, qint64* recordSize, QString* problem) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *problem = QStringLiteral("it cannot be opened (%1)").arg(file.errorString());
    return false;
  }
  const QByteArray header = file.read(kFileHeaderSize);
  if (header.size() < kFileHeaderSize) {
    *problem = QStringLiteral("it is shorter than a dBase header");
    return false;
  }
  const qint64 records = LittleEndian(header, 4, 4);
  const qint64 headerSize = LittleEndian(header, 8, 2);
  *recordSize = LittleEndian(header, 10, 2);
  if (headerSize < kFileHeaderSize + kFieldDescriptorSize + 1 || *recordSize < 2) {
    *problem = QStringLiteral("its header declares no field");
    return false;
  }
  if (headerSize + records * *recordSize > file.size()) {
    *problem = QStringLiteral("its header declares %1 records of %2 bytes, more than the file's %3 bytes hold")
                   .arg(records)
                   .arg(*recordSize)
                   .arg(file.size());
    return false;
  }
  return true;
}

bool CharsetOf(DBFHandle dbf, TextCharset* charset, QString* problem) {
  const QString codePage = QString::fromLatin1(DBFGetCodePage(dbf)).trimmed().toUpper();
  if (codePage.isEmpty() || codePage == u"LDID/0" || codePage == u"LDID/3" || codePage == u"LDID/87" ||
      codePage == u"1252" || codePage == u"ANSI 1252") {
    *charset = TextCharset::Ansi;
  } else if (codePage == u"UTF-8" || codePage == u"UTF8" || codePage == u"65001") {
    *charset = TextCharset::Utf8;
  } else if (codePage == u"ISO-8859-1" || codePage == u"88591" || codePage == u"28591") {
    *charset = TextCharset::Latin1;
  } else {
    *problem = QStringLiteral("its code page %1 is not supported").arg(codePage);
    return false;
  }
  return true;
}

bool ReadColumns(DBFHandle dbf, qint64 recordSize, StandInTable* table, QString* problem) {
  qint64 width = 1;  // the deletion flag
  QStringList names;
  for (int field = 0; field < DBFGetFieldCount(dbf); ++field) {
    std::array<char, XBASE_FLDNAME_LEN_READ + 1> name{};
    int fieldWidth = 0;
    int decimals = 0;
    DBFGetFieldInfo(dbf, field, name.data(), &fieldWidth, &decimals);
    width += fieldWidth;
    names.append(QString::fromLatin1(name.data()));
    const char type = DBFGetNativeFieldType(dbf, field);
    if (type == 'C' || type == 'D' || type == 'L') {
      table->types.append(StandInType::Text);
    } else if (type == 'N' || type == 'F') {
      table->types.append(decimals == 0 ? StandInType::Integer : StandInType::Double);
    } else {
      *problem = QStringLiteral("its field %1 has the type '%2', which is not supported")
                     .arg(names.last(), QString::fromLatin1(&type, 1));
      return false;
    }
  }
  if (width > recordSize) {
    *problem =
        QStringLiteral("its fields are %1 bytes wide, more than its records of %2 bytes").arg(width).arg(recordSize);
    return false;
  }
  table->columns = UniqueColumnNames(names);
  return true;
}

bool ReadRows(DBFHandle dbf, TextCharset charset, StandInTable* table, QString* problem) {
  for (int record = 0; record < DBFGetRecordCount(dbf); ++record) {
    if (DBFIsRecordDeleted(dbf, record)) continue;
    QStringList row;
    for (int field = 0; field < DBFGetFieldCount(dbf); ++field) {
      const char* raw = DBFIsAttributeNULL(dbf, record, field) ? nullptr : DBFReadStringAttribute(dbf, record, field);
      QString value;
      if (raw != nullptr && *raw != '\0' && !DecodeText(QByteArray(raw), charset, &value, problem)) {
        *problem = QStringLiteral("record %1, field %2: %3").arg(record + 1).arg(table->columns[field], *problem);
        return false;
      }
      row.append(value.isEmpty() ? QString() : value);
    }
    table->rows.append(row);
  }
  return true;
}

// A numeric field takes the type its values read as: a whole number beyond 32 bits is Double, a
// value that reads as no number (a damaged or hand-made file) keeps the column Text.
void TypeNumericFieldsByValues(StandInTable* table) {
  StandInTable byValues = *table;
  TypeColumnsByValues(&byValues);
  for (qsizetype column = 0; column < table->types.size(); ++column) {
    bool anyValue = false;
    for (const QStringList& row : table->rows) anyValue = anyValue || !row[column].isNull();
    if (table->types[column] != StandInType::Text && anyValue) table->types[column] = byValues.types[column];
  }
}

bool ReadOpened(DBFHandle dbf, qint64 recordSize, StandInTable* table, QString* problem) {
  TextCharset charset = TextCharset::Ansi;
  if (!CharsetOf(dbf, &charset, problem) || !ReadColumns(dbf, recordSize, table, problem)) return false;
  if (!ReadRows(dbf, charset, table, problem)) return false;
  TypeNumericFieldsByValues(table);
  return true;
}

DbfFile Open(const QString& path, QString* problem) {
  SAHooks hooks;
  SASetupDefaultHooks(&hooks);
  hooks.Error = KeepReport;
  t_shapelibReport.clear();
  DbfFile dbf(DBFOpenLL(QFile::encodeName(path).constData(), "rb", &hooks));
  if (!dbf) {
    *problem = t_shapelibReport.isEmpty() ? QStringLiteral("it is not a dBase file or its header is damaged")
                                          : QStringLiteral("it is not a dBase file (%1)").arg(t_shapelibReport);
  }
  return dbf;
}

}  // namespace

bool ReadDbfTable(const QString& path, StandInTable* table, QString* error) {
  const QFileInfo info(path);
  *table = StandInTable{info.completeBaseName().toUpper(), {}, {}, {}};
  QString problem;
  qint64 recordSize = 0;
  if (CheckHeader(path, &recordSize, &problem)) {
    const DbfFile dbf = Open(path, &problem);
    if (dbf && ReadOpened(dbf.get(), recordSize, table, &problem)) return true;
  }
  *error = QStringLiteral("The dBase file %1 cannot be read: %2.").arg(info.fileName(), problem);
  return false;
}

}  // namespace platform
