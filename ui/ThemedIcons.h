#pragma once
#include <QIcon>

// The icon for one of the program's icon resources (resources/Resource.h):
// the desktop theme's icon of the same role where the theme has one, else
// the program's own drawing.
QIcon ThemedIcon(int nIconId);
