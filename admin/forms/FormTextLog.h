#pragma once

#include "shared/formtext/FormTextRecords.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>

// The designer's log lines for one control, the same when a tab is written and when it is read
// back (after the caller's "<FormDesignerDlg> <...> " prefix).

// "X : %d, Y : %d, Width : %d, Height : %d, FontFace : %s, FontSz : %d, FontStyle : %d,
// FgColor : %s, Visible : %d"
QString DescribeCommonValues(const StoredControl& control);

// The line of the type's values and, for combo box lists, lookups and Go To Form links, a
// second line. `writing` selects the writer's form of the Go To Form line.
QStringList DescribeTypeValues(const FormControlProperties& control, bool writing);

// Writes both lines to the log after the prefix, with the font size the designer shows.
void LogStoredControl(QStringView prefix, const StoredControl& stored, int32_t shownFontSize, bool writing);
