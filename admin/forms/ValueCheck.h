#pragma once

#include <QString>

#include <functional>

// Whether a typed text is a valid value for a column of the SQL type name.
using ValueCheck = std::function<bool(const QString& sqlType, const QString& text)>;
