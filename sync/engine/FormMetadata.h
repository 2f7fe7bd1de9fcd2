#pragma once

#include "shared/data/FormDetailsRow.h"

#include <QByteArray>

// One tab of a stored form as the devices receive it (TabID, title, packed controls), read from
// its stored text; empty, with a log line, when a packed length would not fit its 16-bit field.
QByteArray BuildFormTabRecord(const FormDetailsRow& row);
