#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <memory>

#include "platform/qt/Icons.h"
#include "platform/qt/MenuBuilder.h"
#include "resources/Icons.h"
#include "resources/Menus.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "tests/support_qt/QtTestApp.h"

namespace {

TEST(StringTable, HoldsTheTooltipsAndTheAboutItem)
{
    EXPECT_EQ(LoadResString(ID_ADD_FILES), "Add audio files to the current file list");
    EXPECT_EQ(LoadResString(ID_CONVERT_ALL), "Convert the files in the list");
    EXPECT_EQ(LoadResString(ID_OPTIONS), "Open the option dialog");
    EXPECT_EQ(LoadResString(ID_ABOUT), "About Kestrune");
    EXPECT_EQ(LoadResString(IDS_ABOUTBOX), "&About");
    EXPECT_TRUE(LoadResString(ID_CONVERT_SELECTED).empty());
    EXPECT_TRUE(LoadResString(IDC_FILELIST).empty());
}

TEST(Accelerators, EveryKeyParsesToTheCommandItBelongsTo)
{
    const AcceleratorTable* pTable = FindAcceleratorTable(IDR_MAIN_ACCELERATORS);
    ASSERT_NE(pTable, nullptr);
    const std::pair<QKeySequence, int> expected[] = {
        {QKeySequence(Qt::Key_F6), ID_ADD_FILES},
        {QKeySequence(Qt::Key_F3), ID_CONVERT_ALL},
        {QKeySequence(Qt::SHIFT | Qt::Key_F3), ID_CONVERT_SELECTED},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_OPTIONS},
        {QKeySequence(Qt::Key_Delete), ID_REMOVE_SELECTED},
        {QKeySequence(Qt::Key_F2), ID_RENAME},
        {QKeySequence(Qt::CTRL | Qt::Key_A), ID_SELECT_ALL},
    };
    ASSERT_EQ(pTable->keys.size(), std::size(expected));
    for (size_t i = 0; i < pTable->keys.size(); ++i) {
        const QKeySequence keys = QKeySequence::fromString(QString::fromUtf8(pTable->keys[i].pszKeys));
        EXPECT_EQ(keys, expected[i].first) << pTable->keys[i].pszKeys;
        EXPECT_EQ(pTable->keys[i].nCommand, expected[i].second) << pTable->keys[i].pszKeys;
    }
    EXPECT_EQ(FindAcceleratorTable(IDR_LIST_CONTEXT_MENU), nullptr);
}

TEST(Menus, ContextMenuHasItsCommandsWithTheFirstAsDefault)
{
    TestApplication();
    QWidget owner;
    QMenu* pMenu = CreatePopupMenu(IDR_LIST_CONTEXT_MENU, 0, &owner);
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->parent(), &owner);
    const QList<QAction*> actions = pMenu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "Convert Selected\tShift+F3");
    EXPECT_EQ(CommandOf(actions[0]), ID_CONVERT_SELECTED);
    EXPECT_EQ(actions[1]->text(), "Open");
    EXPECT_EQ(CommandOf(actions[1]), ID_FILE_OPEN);
    EXPECT_EQ(actions[2]->text(), "Properties");
    EXPECT_EQ(CommandOf(actions[2]), ID_PROPERTIES);
    EXPECT_EQ(pMenu->defaultAction(), actions[0]);
    EXPECT_TRUE(actions[0]->font().bold());
    EXPECT_FALSE(actions[1]->font().bold());

    EXPECT_EQ(CreatePopupMenu(IDR_LIST_CONTEXT_MENU, 1, &owner), nullptr);
    EXPECT_EQ(CreatePopupMenu(IDR_MAIN_ACCELERATORS, 0, &owner), nullptr);
    EXPECT_EQ(CommandOf(nullptr), 0);
}

TEST(Icons, EveryIconRendersAndUnknownIdsGiveNone)
{
    TestApplication();
    for (const int nId : {IDI_APP, IDI_SORT_ASCENDING, IDI_SORT_DESCENDING, IDI_ABOUT, IDI_ADD_FILES, IDI_OPTIONS}) {
        const QIcon icon = LoadIconResource(nId);
        ASSERT_FALSE(icon.isNull()) << nId;
        // Something is drawn: not every pixel of the 48-pixel image is transparent.
        const QImage image = icon.pixmap(48, 48).toImage();
        bool bDrawn = false;
        for (int y = 0; y < image.height() && !bDrawn; ++y)
            for (int x = 0; x < image.width() && !bDrawn; ++x)
                bDrawn = qAlpha(image.pixel(x, y)) != 0;
        EXPECT_TRUE(bDrawn) << nId;
    }
    EXPECT_FALSE(LoadIconResource(IDI_SORT_NONE).isNull());
    EXPECT_TRUE(FindIconSvg(IDD_MAIN).empty());
    EXPECT_TRUE(LoadIconResource(IDD_MAIN).isNull());
}

}  // namespace
