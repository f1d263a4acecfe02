#include "ui/FileProperties.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A file manager that is installed but not running is started by the bus;
// past this the user would wonder whether anything happens at all.
constexpr int kFileManagerTimeoutMs = 5000;

QLabel* ValueLabel(const QString& strText, QWidget* pParent)
{
    auto* pLabel = new QLabel(strText, pParent);
    pLabel->setTextFormat(Qt::PlainText);
    pLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pLabel->setWordWrap(true);
    return pLabel;
}

QString SizeText(qint64 nBytes)
{
    return QStringLiteral("%1 (%2 bytes)")
        .arg(QLocale().formattedDataSize(nBytes), QLocale().toString(nBytes));
}

QString TimeText(const QDateTime& time)
{
    return time.isValid() ? QLocale().toString(time, QLocale::LongFormat) : QString();
}

}  // namespace

QDialog* ShowOwnPropertiesDialog(const QString& strPath, QWidget* pOwner)
{
    const QFileInfo file(strPath);
    auto* pDialog = new QDialog(pOwner);
    pDialog->setAttribute(Qt::WA_DeleteOnClose);
    pDialog->setWindowTitle(QStringLiteral("%1 Properties").arg(file.fileName()));

    auto* pForm = new QFormLayout;
    pForm->addRow(QStringLiteral("Name:"), ValueLabel(file.fileName(), pDialog));
    pForm->addRow(QStringLiteral("Folder:"), ValueLabel(file.absolutePath(), pDialog));
    if (file.exists()) {
        pForm->addRow(QStringLiteral("Type:"), ValueLabel(QMimeDatabase().mimeTypeForFile(file).comment(), pDialog));
        pForm->addRow(QStringLiteral("Size:"), ValueLabel(SizeText(file.size()), pDialog));
        pForm->addRow(QStringLiteral("Modified:"), ValueLabel(TimeText(file.lastModified()), pDialog));
        pForm->addRow(QStringLiteral("Accessed:"), ValueLabel(TimeText(file.lastRead()), pDialog));
        pForm->addRow(QStringLiteral("Owner:"), ValueLabel(file.owner(), pDialog));
    } else {
        pForm->addRow(QString(), ValueLabel(QStringLiteral("The file does not exist."), pDialog));
    }

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, pDialog);
    QObject::connect(pButtons, &QDialogButtonBox::rejected, pDialog, &QDialog::close);

    auto* pLayout = new QVBoxLayout(pDialog);
    pLayout->addLayout(pForm);
    pLayout->addWidget(pButtons);
    pDialog->show();
    return pDialog;
}

void ShowFileProperties(const QString& strPath, QWidget* pOwner)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        ShowOwnPropertiesDialog(strPath, pOwner);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
    call << QStringList{QUrl::fromLocalFile(strPath).toString()} << QString();

    auto* pWatcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kFileManagerTimeoutMs), pOwner);
    QPointer<QWidget> pSafeOwner(pOwner);
    QObject::connect(pWatcher, &QDBusPendingCallWatcher::finished, pWatcher,
                     [strPath, pSafeOwner](QDBusPendingCallWatcher* pFinished) {
                         if (pFinished->isError() && pSafeOwner)
                             ShowOwnPropertiesDialog(strPath, pSafeOwner);
                         pFinished->deleteLater();
                     });
}
