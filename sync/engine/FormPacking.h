#pragma once

#include "shared/formtext/FormTextRecords.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Stored forms as the devices receive them: the form-level values and each tab's controls
// packed as binary fields, read from the stored texts by the shared form text reader. The packed
// lengths travel as 16-bit numbers: a form or tab that would not fit is not packed.
namespace formpacking {

// Radio groups, canvas size, font size, colour and the default values of unmapped columns.
std::optional<QByteArray> PackFormGroups(const FormLevelInfo& form);

// The control count, then per control a 46-byte common part and the part of its type.
std::optional<QByteArray> PackTabControls(const std::vector<StoredControl>& controls);

// One tab record: TabID, title, control block.
std::optional<QByteArray> BuildFormTabData(int32_t tabId, const QString& tabTitle,
                                           const std::vector<StoredControl>& controls);

// The Add Form message (type 21) around a packed form-level block.
std::optional<QByteArray> AssembleAddForm(int32_t formId, int32_t profileId, const QString& formTitle,
                                          const QByteArray& formGroups);

}  // namespace formpacking
