#pragma once

#include <QString>

// Why a control type cannot be armed in the toolbox: the number its log line carries and the
// message shown.
struct ArmRefusal {
  int Code = 0;
  QString Message;

  // "<FormDesignerDlg> <SetCtrlStatus> <code> message"
  QString LogText() const {
    return QStringLiteral("<FormDesignerDlg> <SetCtrlStatus> <%1> %2").arg(Code).arg(Message);
  }
  bool operator==(const ArmRefusal&) const = default;
};
