#pragma once
#include <QString>

class QDialog;
class QWidget;

// Shows the properties of a file: the desktop file manager's properties
// window (org.freedesktop.FileManager1.ShowItemProperties over the session
// bus) when one answers, otherwise a small window of our own. Returns at once;
// nothing is reported either way.
void ShowFileProperties(const QString& strPath, QWidget* pOwner);

// The program's own properties window for a file, modeless and deleted when
// closed.
QDialog* ShowOwnPropertiesDialog(const QString& strPath, QWidget* pOwner);
