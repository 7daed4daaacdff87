#include "platform/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

void SetWaitCursor(int on)
{
    static bool shown = false;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (on && !shown) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        shown = true;
    } else if (!on && shown) {
        QGuiApplication::restoreOverrideCursor();
        shown = false;
    }
}
