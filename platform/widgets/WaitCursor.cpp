#include "platform/widgets/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

WaitCursor::WaitCursor() : m_bShown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
  if (m_bShown) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor() {
  if (m_bShown) QGuiApplication::restoreOverrideCursor();
}

}  // namespace platform
