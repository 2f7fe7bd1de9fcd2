#pragma once

#include <QString>

// A change the designer refuses: the message shown and whether it carries the error icon
// (else the information icon).
struct Refusal {
  QString Message;
  bool ErrorIcon = false;

  bool operator==(const Refusal&) const = default;
};
