// The folder chooser driven like a user would: the test finds the chooser once
// it is shown, then picks, types, accepts or cancels.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "tests/support/TempHome.h"
#include "ui/FolderDialog.h"

namespace {

// Runs fn on the chooser as soon as it is visible; fn ends the chooser.
void WhenChooserShown(std::function<void(QFileDialog&)> fn)
{
    auto* pTimer = new QTimer;
    pTimer->setInterval(10);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, fn] {
        for (QWidget* pWidget : QApplication::topLevelWidgets()) {
            auto* pChooser = qobject_cast<QFileDialog*>(pWidget);
            if (pChooser != nullptr && pChooser->isVisible()) {
                pTimer->stop();
                pTimer->deleteLater();
                fn(*pChooser);
                // Each step ends the chooser; one still open means a step
                // failed early, and the test must not hang on it.
                if (pChooser->isVisible()) {
                    ADD_FAILURE() << "chooser left open";
                    pChooser->reject();
                }
                return;
            }
        }
    });
    pTimer->start();
}

// What the chooser's accepting button does.
void Accept(QFileDialog& chooser)
{
    static_cast<QDialog&>(chooser).accept();
}

void TypeName(QFileDialog& chooser, const QString& strName)
{
    auto* pEdit = chooser.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(pEdit, nullptr);
    pEdit->clear();
    QTest::keyClicks(pEdit, strName);
}

// Records the reactions and can refuse to keep the chooser open.
class CRecordingFolderDialog : public CFolderDialog
{
public:
    using CFolderDialog::CFolderDialog;

    int m_nValidateResult = 1;
    std::vector<QString> m_failedNames;
    bool m_bSawBrowserBeforeShown = false;
    bool m_bBrowserSetDuringInit = false;

    std::vector<QString> m_changes;
    bool BrowserCleared() const { return m_hBrowseWnd.isNull(); }

protected:
    void OnSelChanged(const QString& strPath) override
    {
        if (!m_hBrowseWnd.isNull())
            m_changes.push_back(strPath);
    }
    void OnIUnknown(QFileDialog& browser) override { m_bSawBrowserBeforeShown = !browser.isVisible(); }
    void OnInitialized() override
    {
        m_bBrowserSetDuringInit = !m_hBrowseWnd.isNull();
        CFolderDialog::OnInitialized();
    }
    int OnValidateFailed(const QString& strText) override
    {
        m_failedNames.push_back(strText);
        return m_nValidateResult;
    }
};

class FolderDialogTest : public testing::Test
{
protected:
    FolderDialogTest()
        : m_strFolder(QString::fromStdString(m_home.MakeDir("music/out").string()))
    {
        m_home.MakeDir("music/out/sub");
    }

    CTempHome m_home;
    const QString m_strFolder;
};

TEST_F(FolderDialogTest, OpensAtInitialFolderAndReturnsIt)
{
    CRecordingFolderDialog dlg("Specify the Output Folder", m_strFolder);
    QString strTitle;
    QString strOpenedAt;
    bool bDirectoriesOnly = false;
    WhenChooserShown([&](QFileDialog& chooser) {
        strTitle = chooser.windowTitle();
        strOpenedAt = chooser.directory().absolutePath();
        bDirectoriesOnly = chooser.fileMode() == QFileDialog::Directory &&
                           chooser.testOption(QFileDialog::ShowDirsOnly);
        Accept(chooser);
    });
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(strTitle, "Specify the Output Folder");
    EXPECT_EQ(strOpenedAt, m_strFolder);
    EXPECT_TRUE(bDirectoriesOnly);
    EXPECT_EQ(dlg.m_szSelectedPath, m_strFolder);
    EXPECT_TRUE(dlg.m_bSawBrowserBeforeShown);
    EXPECT_TRUE(dlg.m_bBrowserSetDuringInit);
    EXPECT_TRUE(dlg.BrowserCleared());
}

TEST_F(FolderDialogTest, TypedFolderNameIsChosen)
{
    CFolderDialog dlg("Specify the Output Folder", m_strFolder);
    WhenChooserShown([&](QFileDialog& chooser) {
        TypeName(chooser, "sub");
        Accept(chooser);
    });
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.m_szSelectedPath, m_strFolder + "/sub");
}

TEST_F(FolderDialogTest, ClickedFolderIsReportedAndChosen)
{
    CRecordingFolderDialog dlg("Specify the Output Folder", m_strFolder);
    WhenChooserShown([&](QFileDialog& chooser) {
        auto* pView = chooser.findChild<QListView*>("listView");
        ASSERT_NE(pView, nullptr);
        // The folder's entries are read in the background.
        QTRY_COMPARE(pView->model()->rowCount(pView->rootIndex()), 1);
        const QModelIndex sub = pView->model()->index(0, 0, pView->rootIndex());
        QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, pView->visualRect(sub).center());
        Accept(chooser);
    });
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.m_szSelectedPath, m_strFolder + "/sub");
    EXPECT_EQ(dlg.m_changes, std::vector<QString>{m_strFolder + "/sub"});
}

TEST_F(FolderDialogTest, RootHasItsSlash)
{
    CFolderDialog dlg("Specify the Output Folder", "/");
    WhenChooserShown([](QFileDialog& chooser) { Accept(chooser); });
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.m_szSelectedPath, "/");
}

TEST_F(FolderDialogTest, CancelAfterChangingSelectionReturnsTwo)
{
    CFolderDialog dlg("Specify the Output Folder", m_strFolder);
    WhenChooserShown([&](QFileDialog& chooser) {
        chooser.setDirectory(m_strFolder + "/sub");
        chooser.reject();
    });
    EXPECT_EQ(dlg.DoModal(), 2);
    EXPECT_TRUE(dlg.m_szSelectedPath.isEmpty());
}

TEST_F(FolderDialogTest, NameOfNoFolderKeepsChooserOpenByDefaultReaction)
{
    CRecordingFolderDialog dlg("Specify the Output Folder", m_strFolder);
    bool bStillOpen = false;
    WhenChooserShown([&](QFileDialog& chooser) {
        TypeName(chooser, "missing");
        Accept(chooser);
        bStillOpen = chooser.isVisible();
        chooser.reject();
    });
    EXPECT_EQ(dlg.DoModal(), 2);
    EXPECT_TRUE(bStillOpen);
    ASSERT_EQ(dlg.m_failedNames.size(), 1u);
    EXPECT_EQ(dlg.m_failedNames[0], m_strFolder + "/missing");
}

TEST_F(FolderDialogTest, RefusedNameClosesAsCancelled)
{
    CRecordingFolderDialog dlg("Specify the Output Folder", m_strFolder);
    dlg.m_nValidateResult = 0;
    WhenChooserShown([&](QFileDialog& chooser) {
        TypeName(chooser, "missing");
        Accept(chooser);
    });
    EXPECT_EQ(dlg.DoModal(), 2);
    EXPECT_EQ(dlg.m_failedNames.size(), 1u);
    EXPECT_TRUE(dlg.m_szSelectedPath.isEmpty());
}

}  // namespace
