#pragma once

#include <QDateTime>
#include <QString>

// Texts of the code values that form controls carry, as the designer shows and logs them.

// "Left" for 0, "Center" for 1, "Right" for 2; empty for any other code.
QString GetAlignText(int align);

// 0 "Verdana", 1 "Times New Roman", 2 "Tahoma", 3 "Arial", 4 "Century",
// 5 "Microsoft Sans Serif"; empty for any other index.
QString GetFontFaceName(int face);

// The current local date and time as a DateTime control shows them (see FormatDateTimeText).
QString FormatCurrentDateTime(int format);

// 1 "MM/DD/YYYY"; 2 "hh:mm:ss AM" on a 12-hour clock (hours 0 to 11 as they are with AM, 12 with
// PM, 13 to 23 less 12 with PM); 3 both, separated by a blank; empty for any other code.
QString FormatDateTimeText(int format, const QDateTime& when);

// "<R:%d><G:%d><B:%d>", for log lines.
QString FormatRgbText(int red, int green, int blue);
