#include "admin/profiles/ArrangeFields.h"

#include "admin/foundation/OdbcUtilities.h"

#include <algorithm>

CArrangeFields::CArrangeFields(const QStringList& fields) : m_fields(fields) {}

void CArrangeFields::SetPositions(const QMap<QString, QString>& positions) {
  for (auto it = positions.cbegin(); it != positions.cend(); ++it) m_positions.insert(it.key(), it.value());
}

QList<int> CArrangeFields::SortedPositions() const {
  QList<int> positions;
  for (const QString& field : m_fields) {
    if (m_positions.contains(field)) positions << ParseDigits(m_positions.value(field));
  }
  std::sort(positions.begin(), positions.end());
  return positions;
}

// Position 0 and a position that is no number leave a name out. Two names on one position both
// come, in the map's order, so no name is given twice and none is lost.
QStringList CArrangeFields::GetArrangedFields() const {
  QStringList arranged;
  for (const int position : SortedPositions()) {
    if (position < 1) continue;
    for (auto it = m_positions.cbegin(); it != m_positions.cend(); ++it) {
      if (ParseDigits(it.value()) == position && !arranged.contains(it.key())) {
        arranged << it.key();
        break;
      }
    }
  }
  return arranged;
}
