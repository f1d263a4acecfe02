#pragma once

class CVESKDlg;

// The application object: one instance of the program per user and
// executable name, the platform services the windows need, and the main
// window run modally. The program ends inside the main window's close
// sequence; InitInstance returns only when another instance was running (or
// the main window ended without it).
class CVESKApp
{
public:
    // Always false: the program ends when it returns. A second start brings
    // the running instance's window to the front and returns at once.
    bool InitInstance();

    // Gives the main window its Options and About commands.
    static void ConnectCommands(CVESKDlg& dlg);

    // The main window while it runs.
    CVESKDlg* m_pMainWnd = nullptr;
};
