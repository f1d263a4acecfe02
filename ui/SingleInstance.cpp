#include "ui/SingleInstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr char kActivateRequest[] = "activate\n";
constexpr char kActivatedReply[] = "ok\n";
constexpr int kConnectAttemptMs = 100;
constexpr int kRetryPauseMs = 50;

QString RuntimeBasePath(const QString& strName)
{
    // Per user (mode 0700); Qt falls back to a private folder under /tmp when
    // XDG_RUNTIME_DIR is not set.
    const QString strFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return strFolder + '/' + strName + '-' + QString::number(::getuid());
}

int RemainingMs(const QElapsedTimer& timer, int nTimeoutMs)
{
    return std::max(0, nTimeoutMs - static_cast<int>(timer.elapsed()));
}

}  // namespace

CSingleInstance::CSingleInstance(const QString& strName, QObject* pParent)
    : QObject(pParent), m_strBasePath(RuntimeBasePath(strName))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
}

CSingleInstance::~CSingleInstance()
{
    m_server.close();
    if (m_nLockFd >= 0)
        ::close(m_nLockFd);
}

bool CSingleInstance::Acquire()
{
    if (m_nLockFd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_strBasePath + ".lock");
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_nLockFd = fd;
    return true;
}

bool CSingleInstance::Listen(std::function<void()> fnActivate)
{
    if (m_nLockFd < 0)
        return false;
    m_fnActivate = std::move(fnActivate);
    // Holding the lock, any socket left there belongs to an instance that has
    // ended.
    const QString strSocket = m_strBasePath + ".socket";
    QLocalServer::removeServer(strSocket);
    return m_server.listen(strSocket);
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket* pSocket = m_server.nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] {
            if (!pSocket->canReadLine())
                return;
            if (pSocket->readLine() == kActivateRequest) {
                if (m_fnActivate)
                    m_fnActivate();
                pSocket->write(kActivatedReply);
                pSocket->flush();
            }
            pSocket->disconnectFromServer();
        });
    }
}

bool CSingleInstance::ActivateRunningInstance(int nTimeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(m_strBasePath + ".socket");
        if (socket.waitForConnected(std::min(kConnectAttemptMs, RemainingMs(timer, nTimeoutMs))))
            break;
        if (RemainingMs(timer, nTimeoutMs) == 0)
            return false;
        QThread::msleep(kRetryPauseMs);
    }
    socket.write(kActivateRequest);
    if (!socket.waitForBytesWritten(RemainingMs(timer, nTimeoutMs)))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(RemainingMs(timer, nTimeoutMs)))
            return false;
    }
    return socket.readLine() == kActivatedReply;
}

void BringWindowToFront(QWidget* pWindow)
{
    if (pWindow == nullptr)
        return;
    if (pWindow->isMinimized())
        pWindow->setWindowState(pWindow->windowState() & ~Qt::WindowMinimized);
    pWindow->show();
    pWindow->raise();
    pWindow->activateWindow();
    QWidget* pModal = QApplication::activeModalWidget();
    if (pModal != nullptr && pModal != pWindow) {
        pModal->raise();
        pModal->activateWindow();
    }
}
