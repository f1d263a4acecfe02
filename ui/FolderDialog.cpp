#include "ui/FolderDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

// The chooser: checks a typed name itself, so the reaction to a name that is
// no folder is the owner's and not the dialog's own warning box.
class CFolderDialog::CBrowser : public QFileDialog
{
public:
    CBrowser(CFolderDialog& owner, QWidget* pParent)
        : QFileDialog(pParent)
        , m_owner(owner)
    {
    }

    // Runs one of the owner's reactions with m_hBrowseWnd set.
    template <typename Fn>
    auto Dispatch(Fn fn)
    {
        struct Reset
        {
            QPointer<QFileDialog>& ref;
            ~Reset() { ref = nullptr; }
        } reset{m_owner.m_hBrowseWnd};
        m_owner.m_hBrowseWnd = this;
        return fn();
    }

    void accept() override
    {
        const QString strPath = selectedFiles().value(0);
        if (strPath.isEmpty())
            return;
        if (QFileInfo(strPath).isDir()) {
            QFileDialog::accept();
            return;
        }
        if (Dispatch([&] { return m_owner.OnValidateFailed(strPath); }) == 0)
            reject();
    }

private:
    CFolderDialog& m_owner;
};

CFolderDialog::CFolderDialog(const QString& strTitle, const QString& strInitialPath, QWidget* pOwner)
    : m_szInitialPath(strInitialPath)
    , m_strTitle(strTitle)
    , m_pOwner(pOwner)
{
}

CFolderDialog::~CFolderDialog() = default;

int CFolderDialog::DoModal()
{
    CBrowser browser(*this, m_pOwner);
    browser.setWindowTitle(m_strTitle);
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    browser.setAcceptMode(QFileDialog::AcceptOpen);
    QObject::connect(&browser, &QFileDialog::currentChanged, &browser, [&](const QString& strPath) {
        browser.Dispatch([&] { OnSelChanged(strPath); });
    });
    browser.Dispatch([&] { OnIUnknown(browser); });
    browser.Dispatch([&] { OnInitialized(); });

    if (browser.exec() != QDialog::Accepted)
        return 2;
    const QList<QUrl> urls = browser.selectedUrls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return -1;
    m_szSelectedPath = QDir::cleanPath(urls.first().toLocalFile());
    return 1;
}

void CFolderDialog::OnInitialized()
{
    if (!m_szInitialPath.isEmpty())
        m_hBrowseWnd->setDirectory(m_szInitialPath);
}

void CFolderDialog::OnSelChanged(const QString& strPath)
{
}

int CFolderDialog::OnValidateFailed(const QString& strText)
{
    QApplication::beep();
    return 1;
}

void CFolderDialog::OnIUnknown(QFileDialog& browser)
{
}
