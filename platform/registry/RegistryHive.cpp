#include "platform/registry/RegistryHive.h"

#include "platform/text/Utf8Text.h"

#include <algorithm>
#include <utility>

namespace platform {
namespace {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00";
constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kHexDigits[] = "0123456789abcdef";

bool IsBlank(QByteArrayView text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
  });
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A number of 1 to `maxDigits` hex digits that is the whole text.
bool ParseHexNumber(QByteArrayView text, qsizetype maxDigits, DWORD* number) {
  if (text.isEmpty() || text.size() > maxDigits) return false;
  *number = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    *number = (*number << 4) | static_cast<DWORD>(digit);
  }
  return true;
}

QByteArray Quoted(QByteArrayView text) {
  QByteArray out;
  out.reserve(text.size() + 2);
  out += '"';
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// Reads a quoted text starting at text[*pos] == '"'; leaves *pos after the closing quote.
bool ReadQuoted(QByteArrayView text, qsizetype* pos, QByteArray* unquoted) {
  unquoted->clear();
  for (qsizetype i = *pos + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      *pos = i + 1;
      return true;
    }
    if (c == '\\') {
      if (++i >= text.size() || (text[i] != '\\' && text[i] != '"')) return false;
      c = text[i];
    }
    *unquoted += c;
  }
  return false;
}

void AppendHexBytes(const QByteArray& bytes, QByteArray* out) {
  out->reserve(out->size() + bytes.size() * 3);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (i > 0) *out += ',';
    const auto byte = static_cast<uint8_t>(bytes[i]);
    *out += kHexDigits[byte >> 4];
    *out += kHexDigits[byte & 0x0F];
  }
}

qsizetype SkipBlanks(QByteArrayView text, qsizetype i) {
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i;
}

// "01,ff, 7f": two hex digits per byte, separated by commas. Written into the buffer directly:
// a value can be many megabytes.
bool ParseHexBytes(QByteArrayView text, QByteArray* bytes) {
  bytes->clear();
  if (IsBlank(text)) return true;
  bytes->resize(text.size() / 3 + 1);
  char* out = bytes->data();
  const char* const start = out;
  for (qsizetype i = SkipBlanks(text, 0);; i = SkipBlanks(text, i + 1)) {
    if (i + 1 >= text.size()) return false;
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    *out++ = static_cast<char>((high << 4) | low);
    i = SkipBlanks(text, i + 2);
    if (i == text.size()) break;
    if (text[i] != ',') return false;
  }
  bytes->truncate(out - start);
  return true;
}

// True when the REG_SZ bytes are a plain text with its one terminating zero, so that the quoted
// form gives back the same bytes.
bool IsPlainText(const RegistryValue& value) {
  const QByteArray& data = value.data;
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  const QString text = value.ToString();
  if ((text.size() + 1) * 2 != data.size()) return false;
  return std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20 || c.isSurrogate(); });
}

QByteArray DataText(const RegistryValue& value) {
  if (value.type == REG_SZ && IsPlainText(value)) return Quoted(value.ToString().toUtf8());
  DWORD number = 0;
  if (value.ToDword(&number)) return "dword:" + QByteArray::number(number, 16).rightJustified(8, '0');
  QByteArray out = value.type == REG_BINARY ? QByteArray("hex:")
                                            : "hex(" + QByteArray::number(value.type, 16) + "):";
  AppendHexBytes(value.data, &out);
  return out;
}

bool ParseData(QByteArrayView text, RegistryValue* value) {
  if (text.startsWith('"')) {
    QByteArray quoted;
    qsizetype pos = 0;
    if (!ReadQuoted(text, &pos, &quoted) || pos != text.size()) return false;
    *value = RegistryValue::FromString(FromUtf8KeepingBom(quoted));
    return true;
  }
  if (text.startsWith("dword:")) {
    DWORD number = 0;
    if (text.size() != 14 || !ParseHexNumber(text.sliced(6), 8, &number)) return false;
    *value = RegistryValue::FromDword(number);
    return true;
  }
  if (text.startsWith("hex:")) {
    value->type = REG_BINARY;
    return ParseHexBytes(text.sliced(4), &value->data);
  }
  if (text.startsWith("hex(")) {
    const qsizetype close = text.indexOf("):");
    return close > 4 && ParseHexNumber(text.sliced(4, close - 4), 8, &value->type) &&
           ParseHexBytes(text.sliced(close + 2), &value->data);
  }
  return false;
}

// What the line says: without its line break, the blanks at its end and a byte-order mark at
// its start (which a file can hold on any line, where files were joined).
QByteArrayView Content(const QByteArray& text, const RegistryHive::Line& line) {
  QByteArrayView content = QByteArrayView(text).sliced(line.begin, line.end - line.begin);
  if (content.endsWith('\n')) content.chop(1);
  if (content.endsWith('\r')) content.chop(1);
  while (content.endsWith(' ') || content.endsWith('\t')) content.chop(1);
  return content.startsWith(kBom) ? content.sliced(3) : content;
}

}  // namespace

RegistryHive::RegistryHive(QString hiveName)
    : hiveName_(std::move(hiveName)), root_(std::make_unique<Key>()) {}

RegistryHive::~RegistryHive() { Release(std::move(root_)); }

void RegistryHive::Clear() {
  text_.clear();
  hasHeader_ = false;
  unreadable_.clear();
  Release(std::exchange(root_, std::make_unique<Key>()));
}

// Frees the tree without recursion, whose depth the file decides.
void RegistryHive::Release(std::unique_ptr<Key> root) {
  std::vector<std::unique_ptr<Key>> pending;
  pending.push_back(std::move(root));
  while (!pending.empty()) {
    const std::unique_ptr<Key> key = std::move(pending.back());
    pending.pop_back();
    if (!key) continue;
    for (auto& [folded, child] : key->children) pending.push_back(std::move(child));
  }
}

bool RegistryHive::Parse(QByteArray text, QString* error) {
  Clear();
  text_ = std::move(text);
  Key* current = nullptr;
  qsizetype number = 0;
  for (qsizetype begin = 0; begin < text_.size();) {
    const qsizetype newline = text_.indexOf('\n', begin);
    const Line line{begin, newline < 0 ? text_.size() : newline + 1};
    begin = line.end;
    ++number;
    const QByteArrayView content = Content(text_, line);
    if (IsBlank(content) || content.startsWith(';')) continue;
    const bool header = content == QByteArrayView(kHeader);
    if (!hasHeader_ && !header) {
      *error = QStringLiteral("line %1: the header is missing").arg(number);
      Clear();
      return false;
    }
    hasHeader_ = true;
    QString problem;
    if (!header && !ParseLine(content, line, &current, &problem))
      unreadable_.append(UnreadableLine{line, number, problem});
  }
  return true;
}

bool RegistryHive::ParseLine(QByteArrayView content, const Line& line, Key** current, QString* error) {
  if (content.startsWith('[')) return ParseSection(content, line, current, error);
  return ParseValueLine(content, line, *current, error);
}

// A key line that cannot be read leaves no key current, so that its values are not taken for
// those of the key above it.
bool RegistryHive::ParseSection(QByteArrayView content, const Line& line, Key** current, QString* error) {
  *current = nullptr;
  if (!content.endsWith(']')) {
    *error = QStringLiteral("a key line does not end in ']'");
    return false;
  }
  const QString full = FromUtf8KeepingBom(content.sliced(1, content.size() - 2));
  Key* key = root_.get();
  if (full.compare(hiveName_, Qt::CaseInsensitive) != 0) {
    const QString prefix = hiveName_ + u'\\';
    // An empty name part is read as it is written: "[HIVE\]" names the key "" below the root.
    if (!full.startsWith(prefix, Qt::CaseInsensitive)) {
      *error = QStringLiteral("the key is not in %1").arg(hiveName_);
      return false;
    }
    for (const QStringView part : QStringView(full).sliced(prefix.size()).split(u'\\'))
      key = Child(key, part.toString());
  }
  key->sections.append(Section{line, line.end});
  *current = key;
  return true;
}

bool RegistryHive::ParseValueLine(QByteArrayView content, const Line& line, Key* current, QString* error) {
  if (current == nullptr) {
    *error = QStringLiteral("a value stands before any key or below a key line that cannot be read");
    return false;
  }
  QByteArray name;
  qsizetype pos = 0;
  if (content.startsWith('@')) {
    pos = 1;
  } else if (!content.startsWith('"') || !ReadQuoted(content, &pos, &name)) {
    *error = QStringLiteral("a value name is not quoted");
    return false;
  }
  const QString text = FromUtf8KeepingBom(name);
  RegistryValue value;
  if (pos >= content.size() || content[pos] != '=' || !ParseData(content.sliced(pos + 1), &value)) {
    *error = QStringLiteral("the data of value \"%1\" cannot be read").arg(text.left(100));
    return false;
  }
  const QString folded = text.toCaseFolded();
  const auto found = current->valueIndex.constFind(folded);
  if (found == current->valueIndex.cend()) {
    current->valueIndex.insert(folded, static_cast<qsizetype>(current->values.size()));
    current->values.push_back(Value{text, std::move(value), {line}});
  } else {
    Value& existing = current->values[static_cast<size_t>(*found)];
    existing.value = std::move(value);
    existing.lines.append(line);
  }
  current->sections.last().end = line.end;
  return true;
}

RegistryHive::Key* RegistryHive::Child(Key* parent, const QString& name) {
  std::unique_ptr<Key>& child = parent->children[name.toCaseFolded()];
  if (!child) {
    child = std::make_unique<Key>();
    child->name = name;
    child->parent = parent;
  }
  return child.get();
}

QByteArray RegistryHive::lineBreak() const {
  const qsizetype newline = text_.indexOf('\n');
  return newline > 0 && text_[newline - 1] == '\r' ? QByteArray("\r\n") : QByteArray("\n");
}

const RegistryHive::Key* RegistryHive::FindKey(QStringView path) const {
  const Key* key = root_.get();
  if (path.isEmpty()) return key;
  for (const QStringView part : path.split(u'\\')) {
    const auto found = key->children.find(part.toString().toCaseFolded());
    if (found == key->children.end()) return nullptr;
    key = found->second.get();
  }
  return key;
}

const RegistryHive::Value* RegistryHive::FindValue(const Key& key, QStringView name) {
  const auto found = key.valueIndex.constFind(name.toString().toCaseFolded());
  return found == key.valueIndex.cend() ? nullptr : &key.values[static_cast<size_t>(*found)];
}

QStringList RegistryHive::PathOf(const Key& key) {
  QStringList path;
  for (const Key* part = &key; part->parent != nullptr; part = part->parent) path.prepend(part->name);
  return path;
}

QByteArray RegistryHive::HeaderLine() { return kHeader; }

qsizetype RegistryHive::HeaderPosition() const { return text_.startsWith(kBom) ? 3 : 0; }

QByteArray RegistryHive::SectionLine(const QStringList& path) const {
  QString full = hiveName_;
  for (const QString& part : path) full += u'\\' + part;
  return '[' + full.toUtf8() + ']';
}

QByteArray RegistryHive::ValueLine(const QString& name, const RegistryValue& value) {
  return (name.isEmpty() ? QByteArray("@") : Quoted(name.toUtf8())) + '=' + DataText(value);
}

bool RegistryHive::CanHoldName(QStringView name) {
  return name.isValidUtf16() &&
         std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; });
}

}  // namespace platform
