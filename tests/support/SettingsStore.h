#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

// Stores sealed settings the way the installer leaves them, for tests of their readers.

// Seals `plain` and stores it as REG_BINARY `value` under HKEY_LOCAL_MACHINE\`key` (created
// when missing). False when the registry refused.
bool StoreSealedValue(const QString& key, const QString& value, const QByteArray& plain);

}  // namespace testsupport
