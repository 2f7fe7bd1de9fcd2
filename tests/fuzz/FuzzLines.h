#pragma once

// The lines of a text file before and after an edit: what the edit did not touch must be in the
// written text byte for byte and in its order.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QSet>

namespace fuzzlines {

struct Line {
  qsizetype begin = 0;
  QByteArray bytes;  // with its line break
};

inline QList<Line> LinesOf(const QByteArray& text) {
  QList<Line> lines;
  for (qsizetype begin = 0; begin < text.size();) {
    const qsizetype newline = text.indexOf('\n', begin);
    const qsizetype end = newline < 0 ? text.size() : newline + 1;
    lines.append(Line{begin, text.sliced(begin, end - begin)});
    begin = end;
  }
  return lines;
}

// The last line of a file may have no line break, and gains one when a line is written after it.
inline bool SameLine(const QByteArray& before, const QByteArray& after) {
  return before == after || (!before.endsWith('\n') && (after == before + '\n' || after == before + "\r\n"));
}

// True when every line of `before` that does not begin at one of `touched` is in `after`, in
// the same order.
inline bool KeepsUntouchedLines(const QByteArray& before, const QSet<qsizetype>& touched, const QByteArray& after) {
  const QList<Line> written = LinesOf(after);
  qsizetype next = 0;
  for (const Line& line : LinesOf(before)) {
    if (touched.contains(line.begin)) continue;
    while (next < written.size() && !SameLine(line.bytes, written[next].bytes)) ++next;
    if (next == written.size()) return false;
    ++next;
  }
  return true;
}

}  // namespace fuzzlines
