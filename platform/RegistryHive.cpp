#include "platform/RegistryHive.h"

#include <QStringView>

#include <algorithm>

namespace platform {
namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");

QString Quoted(const QString& text) {
  QString out = QStringLiteral("\"");
  for (const QChar c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  return out + u'"';
}

// Reads a quoted text starting at line[*pos] == '"'; leaves *pos after the closing quote.
bool ReadQuoted(const QString& line, qsizetype* pos, QString* text) {
  text->clear();
  for (qsizetype i = *pos + 1; i < line.size(); ++i) {
    const QChar c = line[i];
    if (c == u'"') {
      *pos = i + 1;
      return true;
    }
    if (c == u'\\') {
      if (++i >= line.size() || (line[i] != u'\\' && line[i] != u'"')) return false;
    }
    *text += line[i];
  }
  return false;
}

QString HexBytes(const QByteArray& bytes) {
  QStringList parts;
  for (const char byte : bytes)
    parts << QStringLiteral("%1").arg(static_cast<uint8_t>(byte), 2, 16, QLatin1Char('0'));
  return parts.join(u',');
}

bool ParseHexBytes(QStringView text, QByteArray* bytes) {
  bytes->clear();
  if (text.trimmed().isEmpty()) return true;
  for (const QStringView part : text.split(u',')) {
    bool ok = false;
    const QStringView digits = part.trimmed();
    const uint value = digits.toUInt(&ok, 16);
    if (!ok || digits.size() != 2) return false;
    bytes->append(static_cast<char>(value));
  }
  return true;
}

// True when the REG_SZ bytes are a plain text with its one terminating zero, so that the quoted
// form gives back the same bytes.
bool IsPlainText(const RegistryValue& value) {
  const QByteArray& data = value.data;
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  const QString text = value.ToString();
  if ((text.size() + 1) * 2 != data.size()) return false;
  for (const QChar c : text) {
    if (c.unicode() < 0x20 || c.isSurrogate()) return false;
  }
  return true;
}

QString DataText(const RegistryValue& value) {
  if (value.type == REG_SZ && IsPlainText(value)) return Quoted(value.ToString());
  DWORD number = 0;
  if (value.ToDword(&number))
    return QStringLiteral("dword:%1").arg(number, 8, 16, QLatin1Char('0'));
  if (value.type == REG_BINARY) return QStringLiteral("hex:") + HexBytes(value.data);
  return QStringLiteral("hex(%1):").arg(value.type, 0, 16) + HexBytes(value.data);
}

bool ParseData(QStringView text, RegistryValue* value) {
  if (text.startsWith(u'"')) {
    QString quoted;
    qsizetype pos = 0;
    const QString whole = text.toString();
    if (!ReadQuoted(whole, &pos, &quoted) || pos != whole.size()) return false;
    *value = RegistryValue::FromString(quoted);
    return true;
  }
  if (text.startsWith(u"dword:")) {
    const QStringView digits = text.mid(6);
    bool ok = false;
    const uint number = digits.toUInt(&ok, 16);
    if (!ok || digits.size() != 8) return false;
    *value = RegistryValue::FromDword(number);
    return true;
  }
  if (text.startsWith(u"hex:")) {
    value->type = REG_BINARY;
    return ParseHexBytes(text.mid(4), &value->data);
  }
  if (text.startsWith(u"hex(")) {
    const qsizetype close = text.indexOf(u"):");
    if (close < 0) return false;
    bool ok = false;
    value->type = text.mid(4, close - 4).toUInt(&ok, 16);
    return ok && ParseHexBytes(text.mid(close + 2), &value->data);
  }
  return false;
}

}  // namespace

RegistryHive::RegistryHive(QString hiveName) : hiveName_(std::move(hiveName)) {
  keys_[QString()] = Key{};
}

bool RegistryHive::Parse(const QByteArray& text, QString* error) {
  keys_.clear();
  keys_[QString()] = Key{};
  const QStringList lines = QString::fromUtf8(text).split(u'\n');
  Key* current = nullptr;
  bool headerSeen = false;
  for (qsizetype number = 0; number < lines.size(); ++number) {
    QString line = lines[number];
    if (line.endsWith(u'\r')) line.chop(1);
    if (line.trimmed().isEmpty() || line.startsWith(u';')) continue;
    QString problem;
    bool ok = true;
    if (!headerSeen) {
      ok = line == kHeader;
      headerSeen = true;
      if (!ok) problem = QStringLiteral("the header is missing");
    } else if (line.startsWith(u'[')) {
      ok = ParseSection(line, &current, &problem);
    } else {
      ok = ParseValueLine(line, current, &problem);
    }
    if (!ok) {
      *error = QStringLiteral("line %1: %2").arg(number + 1).arg(problem);
      keys_.clear();
      keys_[QString()] = Key{};
      return false;
    }
  }
  return true;
}

bool RegistryHive::ParseSection(const QString& line, Key** current, QString* error) {
  if (!line.endsWith(u']')) {
    *error = QStringLiteral("a key line does not end in ']'");
    return false;
  }
  const QString full = line.mid(1, line.size() - 2);
  if (full.compare(hiveName_, Qt::CaseInsensitive) == 0) {
    *current = CreateKey(QString());
    return true;
  }
  const QString prefix = hiveName_ + u'\\';
  if (!full.startsWith(prefix, Qt::CaseInsensitive) || full.size() == prefix.size()) {
    *error = QStringLiteral("the key is not in %1").arg(hiveName_);
    return false;
  }
  *current = CreateKey(full.mid(prefix.size()));
  return true;
}

bool RegistryHive::ParseValueLine(const QString& line, Key* current, QString* error) {
  if (current == nullptr) {
    *error = QStringLiteral("a value stands before any key");
    return false;
  }
  QString name;
  qsizetype pos = 0;
  if (line.startsWith(u'@')) {
    pos = 1;
  } else if (!line.startsWith(u'"') || !ReadQuoted(line, &pos, &name)) {
    *error = QStringLiteral("a value name is not quoted");
    return false;
  }
  RegistryValue value;
  if (pos >= line.size() || line[pos] != u'=' || !ParseData(QStringView(line).mid(pos + 1), &value)) {
    *error = QStringLiteral("the data of value \"%1\" cannot be read").arg(name);
    return false;
  }
  if (Value* existing = FindValue(*current, name)) {
    existing->value = value;
  } else {
    current->values.append(Value{name, value});
  }
  return true;
}

QByteArray RegistryHive::Serialize() const {
  QString out = kHeader + QStringLiteral("\n");
  for (const auto& [folded, key] : keys_) {
    out += QStringLiteral("\n[") + hiveName_;
    if (!key.path.isEmpty()) out += u'\\' + key.path;
    out += QStringLiteral("]\n");
    for (const Value& value : key.values) {
      out += (value.name.isEmpty() ? QStringLiteral("@") : Quoted(value.name)) + u'=' +
             DataText(value.value) + u'\n';
    }
  }
  return out.toUtf8();
}

const RegistryHive::Key* RegistryHive::FindKey(const QString& path) const {
  const auto it = keys_.find(Fold(path));
  return it == keys_.end() ? nullptr : &it->second;
}

RegistryHive::Key* RegistryHive::FindKey(const QString& path) {
  const auto it = keys_.find(Fold(path));
  return it == keys_.end() ? nullptr : &it->second;
}

RegistryHive::Key* RegistryHive::CreateKey(const QString& path) {
  if (Key* existing = FindKey(path)) return existing;
  const qsizetype separator = path.lastIndexOf(u'\\');
  if (separator > 0) CreateKey(path.left(separator));
  Key& key = keys_[Fold(path)];
  key.path = path;
  return &key;
}

void RegistryHive::RemoveKey(const QString& path) {
  if (!path.isEmpty()) keys_.erase(Fold(path));
}

QStringList RegistryHive::SubkeyNames(const QString& path) const {
  const QString prefix = path.isEmpty() ? QString() : Fold(path) + u'\\';
  QStringList names;
  for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.startsWith(prefix); ++it) {
    const QString rest = it->second.path.mid(prefix.size());
    if (!rest.isEmpty() && !rest.contains(u'\\')) names << rest;
  }
  return names;
}

const RegistryHive::Value* RegistryHive::FindValue(const Key& key, const QString& name) {
  for (const Value& value : key.values) {
    if (value.name.compare(name, Qt::CaseInsensitive) == 0) return &value;
  }
  return nullptr;
}

RegistryHive::Value* RegistryHive::FindValue(Key& key, const QString& name) {
  for (Value& value : key.values) {
    if (value.name.compare(name, Qt::CaseInsensitive) == 0) return &value;
  }
  return nullptr;
}

bool RegistryHive::CanHoldName(QStringView name) {
  return name.isValidUtf16() &&
         std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; });
}

}  // namespace platform
