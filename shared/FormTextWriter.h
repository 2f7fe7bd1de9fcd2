#pragma once

#include "shared/FormTextRecords.h"

#include <QString>
#include <QStringView>

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
  void Number(const char* name, qint64 value);
  void Text(const char* name, const QString& value);
  void Common(const StoredControl& control);
  void TypeTags(const FormControlProperties& c);
  void ComboBoxTags(const FormControlProperties& c);
  void ButtonTags(const FormControlProperties& c);

  QString m_strOut;
  QString m_strError;
};
