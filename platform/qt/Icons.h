#pragma once
#include <QIcon>

// The icon resource with that id (resources/Icons.h) as a QIcon rendered at
// 16, 24, 32 and 48 pixels; a null icon for an unknown id. Needs a
// QGuiApplication.
QIcon LoadIconResource(int nId);
