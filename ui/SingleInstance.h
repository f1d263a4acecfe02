#pragma once
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

// One running instance per user and name (the executable's base name).
//
// The first start takes an exclusive lock on a file in the user's runtime
// folder and listens on a local socket beside it; the kernel drops the lock
// when the process ends, however it ends, so a crash leaves nothing stale.
// A later start with the same name finds the lock taken and asks the running
// instance, through the socket, to bring its window to the front.
class CSingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit CSingleInstance(const QString& strName, QObject* pParent = nullptr);
    ~CSingleInstance() override;
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // True when this process now is the running instance; false when another
    // process holds the name (or the lock cannot be taken at all).
    bool Acquire();

    // Starts answering later starts: fnActivate runs on this object's thread
    // for each of them. Only after Acquire succeeded.
    bool Listen(std::function<void()> fnActivate);

    // Asks the running instance to come to the front and waits until it has;
    // an instance still starting (not yet listening) is given up to
    // nTimeoutMs. False when none answered.
    bool ActivateRunningInstance(int nTimeoutMs = 2000);

    // Where the lock file and the socket live: $XDG_RUNTIME_DIR/<name>-<uid>.
    QString BasePath() const { return m_strBasePath; }

private:
    void OnNewConnection();

    QString m_strBasePath;
    int m_nLockFd = -1;
    QLocalServer m_server;
    std::function<void()> m_fnActivate;
};

class QWidget;

// Restores pWindow when it is minimised and brings it to the front, then the
// modal window it shows, if any, so that one keeps the focus.
void BringWindowToFront(QWidget* pWindow);
