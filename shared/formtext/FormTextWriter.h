#pragma once

#include "shared/formtext/FormTextRecords.h"
#include "shared/formtext/FormTextTags.h"

#include <QString>
#include <QStringView>

#include <span>
#include <vector>

// Writes the stored form texts: the form-level text (`FormInfo` column) and a tab's text
// (`TabFormInfo` column). The format has no escaping, so a text value that holds "</" or an
// opening tag of the format would be misread by every reader; such a value is refused and
// nothing is written.
class FormTextWriter {
 public:
  // False when a text value cannot be stored; ErrorMessage() then says which.
  bool WriteFormLevel(const FormLevelInfo& form, QString* text);
  bool WriteTab(const std::vector<StoredControl>& controls, QString* text);

  QString ErrorMessage() const { return m_strError; }

  // The piece of `value` that a reader would take for a tag ("</" or "<Name>" of an element of
  // the format); empty when the value can be stored as it is.
  static QString FindTagText(QStringView value);

 private:
  void Number(const QString& element, qint64 value);
  void Text(const QString& element, const QString& value);
  void Tags(std::span<const formtext::Tag> tags, const FormControlProperties& c);
  void Control(const StoredControl& control);

  QString m_strOut;
  QString m_strError;
};
