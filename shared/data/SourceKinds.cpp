#include "shared/data/SourceKinds.h"

#include <QFileInfo>

#include <array>

namespace {

// In code order: the code is the position plus one.
constexpr std::array<QStringView, 10> kExtensions = {u"mdb", u"xls",  u"dbf",  u"txt",  u"csv",
                                                     u"accdb", u"xlsx", u"xlsm", u"xlsb", u"fp7"};

}  // namespace

uint8_t SourceKindOfFile(const QString& path) {
  const QString extension = QFileInfo(path).suffix();
  for (size_t index = 0; index < kExtensions.size(); ++index) {
    if (extension.compare(kExtensions[index], Qt::CaseInsensitive) == 0) return static_cast<uint8_t>(index + 1);
  }
  return sourcekind::kOtherFile;
}

bool IsFolderSourceKind(uint8_t kind) {
  return kind == sourcekind::kDbf || kind == sourcekind::kTxt || kind == sourcekind::kCsv;
}

bool IsWorkbookFileKind(uint8_t kind) {
  return kind == sourcekind::kXls || kind == sourcekind::kXlsx || kind == sourcekind::kXlsm ||
         kind == sourcekind::kXlsbOrMySql;
}
