#include "platform/qt/MenuBuilder.h"

#include "resources/Menus.h"

QMenu* CreatePopupMenu(int nMenuId, int nPopup, QWidget* pParent)
{
    const MenuTemplate* pMenu = FindMenuTemplate(nMenuId);
    if (!pMenu || nPopup < 0 || static_cast<size_t>(nPopup) >= pMenu->popups.size())
        return nullptr;
    auto* pQMenu = new QMenu(pParent);
    for (const MenuItem& item : pMenu->popups[nPopup].items) {
        if (item.nCommand == 0) {
            pQMenu->addSeparator();
            continue;
        }
        QAction* pAction = pQMenu->addAction(QString::fromUtf8(item.pszText));
        pAction->setData(item.nCommand);
        if (item.bDefault) {
            QFont font = pAction->font();
            font.setBold(true);
            pAction->setFont(font);
            pQMenu->setDefaultAction(pAction);
        }
    }
    return pQMenu;
}

int CommandOf(const QAction* pAction)
{
    return pAction ? pAction->data().toInt() : 0;
}
