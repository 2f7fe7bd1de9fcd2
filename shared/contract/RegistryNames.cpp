#include "shared/contract/RegistryNames.h"

namespace registrynames {

QString RecordKeyName() {
  QString name = QStringLiteral("Software\\Microsoft\\Windows\\Version\\");
  name.append(QStringLiteral("QuenmoorLite"));
  return name;
}

}  // namespace registrynames
