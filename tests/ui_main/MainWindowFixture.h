#pragma once
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/TempHome.h"
#include "tests/support_qt/ScriptedMessageBoxes.h"
#include "ui/MainWindow.h"
#include "ui/controls/ReportCtrl.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& str, std::ostream* pOut)
{
    *pOut << '"' << str.toStdString() << '"';
}

// The main window with the commands a user reaches only through menus.
class CTestMainDlg : public CVESKDlg
{
public:
    using CVESKDlg::OnCommand;
};

// A private HOME, scripted message boxes, a process exit that only records
// its code, and FLAC files made on the spot.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows a main window (closing the previous one first, if any).
    CTestMainDlg& OpenWindow();
    // Closes the window as the user does; the window is then gone.
    void CloseWindow();
    CTestMainDlg& Dlg() { return *m_pDlg; }
    CReportCtrl& List() { return m_pDlg->FileList(); }

    std::string WriteFlac(const std::string& strName, uint32_t nRate, uint32_t nChannels, uint32_t nBits,
                          uint32_t nFrames);
    std::string WriteText(const std::string& strName);

    // Adds files as the user does (F6 and the file dialog) and waits for the
    // load to end.
    void Load(const std::vector<std::string>& paths);
    // Starts a load without waiting for it.
    void StartLoad(const std::vector<std::string>& paths);
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void ClickHeader(int nColumn);

    QStringList ColumnTexts(int nColumn) const;
    int RowOf(const QString& strName) const;
    void Select(const QStringList& names);
    // Sums over the rows, computed here from their records.
    FileListTotals RowTotals() const;

    std::filesystem::path m_dir;
    std::vector<int> m_exitCodes;
    std::unique_ptr<CTempHome> m_pHome;
    std::unique_ptr<CScriptedMessageBoxes> m_pBoxes;

private:
    std::unique_ptr<CTestMainDlg> m_pDlg;
    CVESKDlg::ProcessExit m_fnPreviousExit;
};
