#include "ui/App.h"

#include <QApplication>
#include <string>

#include "platform/FileSystem.h"
#include "platform/qt/Icons.h"
#include "platform/qt/ProfileStore.h"
#include "platform/qt/QtMessageBox.h"
#include "resources/Resource.h"
#include "ui/AboutDlg.h"
#include "ui/MainWindow.h"
#include "ui/Option.h"
#include "ui/SingleInstance.h"
#include "ui/TerminationSignal.h"

namespace {

// Name of the installed desktop entry, which gives the windows their icon
// and name in the desktop's task switcher.
constexpr char kDesktopFileName[] = "kestrune";

}  // namespace

bool CVESKApp::InitInstance()
{
    // Copies under other names keep apart: their own instance and profile.
    const std::string strAppName = ExecutableBaseName();
    CSingleInstance instance(QString::fromStdString(strAppName));
    if (!instance.Acquire()) {
        instance.ActivateRunningInstance();
        return false;
    }

    QApplication::setApplicationName(QString::fromStdString(strAppName));
    QGuiApplication::setDesktopFileName(kDesktopFileName);
    QApplication::setWindowIcon(LoadIconResource(IDI_APP));
    InstallQtMessageBoxes();
    ProfileStore::SetProfileName(strAppName);

    CVESKDlg dlg;
    m_pMainWnd = &dlg;
    ConnectCommands(dlg);
    instance.Listen([&dlg] { BringWindowToFront(&dlg); });
    CTerminationSignal termination([&dlg] { dlg.close(); });
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}

void CVESKApp::ConnectCommands(CVESKDlg& dlg)
{
    dlg.m_fnRunOptions = [](QWidget* pOwner) { COption(pOwner).DoModal(); };
    dlg.m_fnRunAbout = [](QWidget* pOwner) { CAboutDlg(pOwner).DoModal(); };
}
