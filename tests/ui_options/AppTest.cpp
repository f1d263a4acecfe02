// The application object gives the main window its Options and About
// commands, each a modal dialog over the window.
#include <QPushButton>
#include <gtest/gtest.h>

#include "resources/Resource.h"
#include "settings/ConversionSettings.h"
#include "tests/support/TempHome.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_options/ModalDriver.h"
#include "ui/AboutDlg.h"
#include "ui/App.h"
#include "ui/MainWindow.h"
#include "ui/Option.h"

namespace {

template <class TDialog>
QWidget* OwnerOfDialogRunBy(const std::function<void(QWidget*)>& fnRun, QWidget* pOwner)
{
    QWidget* pShownOver = nullptr;
    WhenModalShown<TDialog>([&](TDialog& dlg) {
        pShownOver = dlg.parentWidget();
        dlg.template GetDlgItemAs<QPushButton>(IDC_OK)->click();
    });
    fnRun(pOwner);
    return pShownOver;
}

TEST(AppTest, MainWindowCommandsRunOptionsAndAboutOverIt)
{
    CTempHome home;
    TestApplication();
    g_settings = ConversionSettings{};
    g_settings.outputFolder = "/srv/music/";

    CVESKDlg dlg;
    CVESKApp::ConnectCommands(dlg);
    ASSERT_TRUE(dlg.m_fnRunOptions);
    ASSERT_TRUE(dlg.m_fnRunAbout);
    EXPECT_EQ(OwnerOfDialogRunBy<COption>(dlg.m_fnRunOptions, &dlg), &dlg);
    EXPECT_EQ(OwnerOfDialogRunBy<CAboutDlg>(dlg.m_fnRunAbout, &dlg), &dlg);
}

}  // namespace
