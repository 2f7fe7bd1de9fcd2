#pragma once

#include <QString>

// The balloon help text of a topic number, with "\r\n" line ends; a single space for a number
// that has no text.
QString HelpTopicText(int topic);
