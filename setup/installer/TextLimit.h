#pragma once

class QLineEdit;

// Keeps the edit's text within `maxBytes` of UTF-8, cut at a character boundary, so that it fits
// its fixed field with the terminating zero.
void LimitUtf8Bytes(QLineEdit* edit, int maxBytes);
