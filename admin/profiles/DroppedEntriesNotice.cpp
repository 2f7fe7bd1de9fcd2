#include "admin/profiles/DroppedEntriesNotice.h"

#include "admin/foundation/AppLog.h"
#include "platform/widgets/MessageBox.h"

namespace {

QStringList NamedLines(const QString& what, const QStringList& columns) {
  QStringList lines;
  for (const QString& column : columns) lines << QStringLiteral("%1 on column \"%2\"").arg(what, column);
  return lines;
}

}  // namespace

void ShowDroppedFilterSortEntries(QWidget* parent, const QStringList& droppedSorts, const QStringList& droppedFilters) {
  const QStringList lines =
      NamedLines(QStringLiteral("Sort Order"), droppedSorts) + NamedLines(QStringLiteral("Filter"), droppedFilters);
  if (lines.isEmpty()) return;
  const QString text = QStringLiteral(
                           "These stored Sort Orders and Filters no longer match the table's columns or operators and "
                           "were removed:\n\n") +
                       lines.join(u'\n');
  platform::MessageBox(parent, text, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
}
