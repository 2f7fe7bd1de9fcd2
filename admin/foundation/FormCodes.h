#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// The code tables of the enumerated control properties, as forms store the codes and the
// designer shows their texts. Texts compare exactly; an unknown text gives the table's default
// code, an unknown code an empty text.

// 1 "Valued List", 2 "Another Profile"; other texts 0.
int GetSourceTypeCode(const QString& text);
QString GetSourceTypeText(int code);

// 0 "Left", 1 "Center", 2 "Right"; other texts 0.
int GetAlignCode(const QString& text);
QString GetAlignmentText(int code);

// 0 "Regular", 1 "Italic", 2 "Bold", 3 "Bold Italic"; other texts 0.
int GetFontStyleCode(const QString& text);

// 0 "Verdana", 1 "Times New Roman", 2 "Tahoma", 3 "Arial", 4 "Century",
// 5 "Microsoft Sans Serif"; other texts 0.
int GetFontFaceCode(const QString& text);
QString GetFontNameText(int code);

// 1 "Date", 2 "Time", 3 "Date & Time"; other texts 0.
int GetDateFormatCode(const QString& text);
QString GetDateFormatText(int code);

// The current local date and time as a DateTime control shows them: 1 "MM/DD/YYYY";
// 2 "hh:mm:ss AM" on a 12-hour clock (hours 0 to 11 as they are with AM, 12 with PM, 13 to 23
// less 12 with PM); 3 both, separated by a blank; empty for any other code.
QString GetCurrentDateTimeText(int format);

// Where GetCurrentDateTimeText reads the time; an empty clock restores the system's.
using DateTimeClock = std::function<QDateTime()>;
void SetDateTimeClock(DateTimeClock clock);

// "<R:%d><G:%d><B:%d>", for log lines.
QString FormatRgbText(int red, int green, int blue);
