#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Puts field names in the order of their position numbers, for one SELECT build.
class CArrangeFields {
 public:
  explicit CArrangeFields(const QStringList& fields);
  virtual ~CArrangeFields() = default;
  CArrangeFields(const CArrangeFields&) = delete;
  CArrangeFields& operator=(const CArrangeFields&) = delete;

  // Takes every name-to-position pair of `positions` (a position is a text of digits).
  void SetPositions(const QMap<QString, QString>& positions);
  // The names that have a position from 1 up, in position order, each once.
  QStringList GetArrangedFields() const;

 private:
  // The positions of the listed names the map holds, ascending.
  QList<int> SortedPositions() const;

  QStringList m_fields;
  QMap<QString, QString> m_positions;
};
