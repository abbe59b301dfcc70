#include "startup/DesktopIdentity.h"

#include <QGuiApplication>

void setDesktopIdentity()
{
    // Qt's Wayland plugin sends the desktop file name as the app id; its X11 plugin writes the
    // application name as the class part of WM_CLASS (the instance part stays the program's file name).
    // Both are read when the first window is made.
    QGuiApplication::setDesktopFileName(QStringLiteral(VORPEL_APP_ID));
    QCoreApplication::setApplicationName(QStringLiteral(VORPEL_APP_ID));
}
