#pragma once
#include <QPointer>
#include <QString>

class QFileDialog;
class QWidget;

// Lets the user pick one folder and returns its path, in the shape of a modal
// dialog object: construct it with a title, an initial folder and an owner,
// call DoModal, read m_szSelectedPath.
//
// The chooser shows directories only and accepts a typed folder name. It is
// Qt's own (not the desktop's native) file dialog, so it looks the same on
// every desktop and can be driven by tests.
class CFolderDialog
{
public:
    CFolderDialog(const QString& strTitle, const QString& strInitialPath = QString(), QWidget* pOwner = nullptr);
    virtual ~CFolderDialog();
    CFolderDialog(const CFolderDialog&) = delete;
    CFolderDialog& operator=(const CFolderDialog&) = delete;

    // 1: a folder was chosen, its path is in m_szSelectedPath; -1: something
    // was chosen that has no local folder path; 2: cancelled.
    virtual int DoModal();

    QString m_szInitialPath;
    QString m_szSelectedPath;

protected:
    // The chooser is ready to show: by default it opens at the initial folder.
    virtual void OnInitialized();
    // The current entry changed to strPath.
    virtual void OnSelChanged(const QString& strPath);
    // The typed name names no folder. Nonzero keeps the chooser open (the
    // default, after a beep); 0 closes it as cancelled.
    virtual int OnValidateFailed(const QString& strText);
    // The chooser itself, before it is shown, for subclasses that adjust it.
    virtual void OnIUnknown(QFileDialog& browser);

    // The chooser while one of the reactions above runs; null otherwise.
    QPointer<QFileDialog> m_hBrowseWnd;

private:
    class CBrowser;
    friend class CBrowser;

    QString m_strTitle;
    QPointer<QWidget> m_pOwner;
};
