#pragma once
#include <QMenu>

// Popup nPopup of menu resource nMenuId (resources/Menus.h) as a QMenu owned
// by pParent: each action carries its command id as data(), the default item
// is drawn bold and is the menu's default action. nullptr when there is no
// such popup.
QMenu* CreatePopupMenu(int nMenuId, int nPopup, QWidget* pParent);

// The command id of an action made by CreatePopupMenu; 0 for none.
int CommandOf(const QAction* pAction);
