#pragma once

#include "admin/forms/ProfileColumn.h"
#include "admin/foundation/FormRowInfo.h"
#include "shared/formtext/FormTextRecords.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace admin { class CDatabseConnection; }
class FormDocument;

// Stores the designer's form document: checks it in a fixed order, stopping at the first
// refusal with its message box, asks for the default values of the profile columns no control
// maps when the form can add records, takes a new form identifier, and writes the FormInfo row,
// a FormDetails row per tab and the status row of the default device user in one transaction
// on the settings connection; in edit mode the edited form's rows go in the same transaction.
// A failure rolls all of it back and shows "Error in Form Creation.".
class CFormSaver {
 public:
  // Where it goes: a new form, or the stored form it replaces (its identifier and title).
  struct Target {
    bool EditMode = false;
    int32_t EditedFormID = 0;
    QString EditedTitle;
    QString DefaultUserID;  // of the DeskInfo record; empty when it could not be read
  };
  // Asks for values of the unmapped columns, starting from the form's; false when not given.
  using AskDefaultValues =
      std::function<bool(const ProfileColumns& unmapped, std::vector<FieldDefaultValue>* values)>;
  // The stored texts of the form and of a tab; false with the reason when a value cannot be
  // stored as it is.
  using BuildFormText = std::function<bool(QString* text, QString* error)>;
  using BuildTabText = std::function<bool(int tabIndex, QString* text, QString* error)>;

  // The document's default values are replaced by the answer of the question.
  CFormSaver(admin::CDatabseConnection& settings, FormDocument& form, Target target, AskDefaultValues ask,
             BuildFormText formText, BuildTabText tabText);

  // The identifier the form was stored under; nothing when it was refused or not stored.
  std::optional<int32_t> Save();

 private:
  bool CheckGoToFormLinks() const;
  bool SettleDefaultValues();
  bool CheckName(const QString& name) const;
  bool CheckRename(const QString& name) const;
  bool CheckDefaultUser() const;
  bool BuildRows(const QString& name, std::vector<FormRowInfo>* rows) const;
  bool WriteRows(int32_t formId, std::vector<FormRowInfo> rows);
  bool HasButtonWith(const QString& action) const;
  ProfileColumns UnmappedColumns() const;

  admin::CDatabseConnection& m_settings;
  FormDocument& m_form;
  Target m_target;
  AskDefaultValues m_ask;
  BuildFormText m_formText;
  BuildTabText m_tabText;
};
