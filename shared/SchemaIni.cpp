#include "shared/SchemaIni.h"

#include "platform/files/AtomicFile.h"
#include "shared/Endian.h"

#include <QDir>

namespace {

QString Section(const QString& fileName) {
  return u'[' + fileName +
         QStringLiteral(
             "]\r\nColNameHeader=True\r\nFormat=TabDelimited\r\nMaxScanRows=0\r\n"
             "CharacterSet=Unicode\r\n");
}

QByteArray Utf16LittleEndian(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (const QChar c : text) endian::AppendLE<uint16_t>(&bytes, c.unicode());
  return bytes;
}

}  // namespace

bool WriteSchemaIni(const QString& folder, const QString& schemaPath) {
  const QStringList textFiles = QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden,
                                                       QDir::Name | QDir::IgnoreCase);
  QString text;
  for (const QString& name : textFiles) text += Section(name);
  if (!textFiles.isEmpty()) text += u'\n';
  return platform::ReplaceFileAtomically(schemaPath, Utf16LittleEndian(text));
}
