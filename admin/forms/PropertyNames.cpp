#include "admin/forms/PropertyNames.h"

#include <QStringView>

#include <array>

namespace {

// Index 0 stands for id 1.
constexpr std::array<QStringView, 31> kLabels = {
    u"Caption",       u"Align Text",   u"Default Value", u"UnChecked",       u"Checked",
    u"Action",        u"Form Name",    u"Profile Name",  u"Data Column",     u"Columns",
    u"Height",        u"Format",       u"Selected",      u"Group",           u"Source Type",
    u"Allow Item Edit", u"Lookup Profile", u"Lookup Column", u"Read Only",    u"Disabled",
    u"Font Size",     u"Font Style",   u"Form Color",    u"BackColor",       u"ForeColor",
    u"View Column",   u"Form Selection", u"Formula",     u"Is Data Column",  u"Visible",
    u"Font Name",
};

}  // namespace

int GetPropertyId(const QString& label) {
  for (size_t index = 0; index < kLabels.size(); ++index) {
    if (kLabels[index] == label) return static_cast<int>(index) + 1;
  }
  return -1;
}

QString GetPropertyName(int id) {
  if (id < 1 || id > static_cast<int>(kLabels.size())) return QStringLiteral("Other");
  return kLabels[static_cast<size_t>(id - 1)].toString();
}
