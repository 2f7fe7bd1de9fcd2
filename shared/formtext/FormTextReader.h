#pragma once

#include "shared/formtext/FormTextRecords.h"
#include "shared/formtext/FormTextTags.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>
#include <vector>

// Reads the stored form texts in writer order by plain substring search, as every reader of the
// format does. A reader never reads past the text and never trusts a stored count: a loop ends
// when the next record's first element is missing. A control whose elements are incomplete or
// whose closing "</ControlInfo>" is missing is skipped; a text cut short ends the read. Each such
// finding is kept as one line in Problems() for the caller's log.
class FormTextReader {
 public:
  // Reads the form-level text into `form`. Colour components the text lacks (or holds empty)
  // keep the values `form` holds on entry; other missing numbers read as 0.
  void ReadFormLevel(QStringView text, FormLevelInfo* form);

  // The controls of a tab text, in their stored order.
  std::vector<StoredControl> ReadTab(QStringView text);

  // What was wrong with the last text read; empty when it was read whole.
  const QStringList& Problems() const { return m_problems; }

 private:
  class Cursor;

  // Reads records while fewer than `count` were read and the next record's first element lies
  // ahead; `readOne` answers false for a record that is not there whole, which ends the loop.
  template <typename ReadOne>
  void ReadCounted(Cursor& cursor, int count, const QString& countTag, QStringView first, ReadOne readOne);
  void ReadGroups(Cursor& cursor, FormLevelInfo* form);
  void ReadDefaultValues(Cursor& cursor, FormLevelInfo* form);
  bool ReadControl(Cursor& cursor, StoredControl* control);
  static void ReadTags(Cursor& cursor, std::span<const formtext::Tag> tags, FormControlProperties* c);
  void ReadItems(Cursor& cursor, FormControlProperties* c);
  void ReadLinks(Cursor& cursor, FormControlProperties* c);

  QStringList m_problems;
};
