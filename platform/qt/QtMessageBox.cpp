#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace {

QMessageBox::Icon IconOf(unsigned nType)
{
    switch (nType & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(unsigned nType)
{
    switch (nType & 0xF) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

int ResultOf(int nButton, unsigned nType)
{
    switch (nButton) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return (nType & 0xF) == MB_YESNO ? IDNO : IDCANCEL;
    }
}

QWidget* ActiveWindow()
{
    if (QWidget* pModal = QApplication::activeModalWidget())
        return pModal;
    return QApplication::activeWindow();
}

}  // namespace

int ShowQtMessageBox(const QString& strText, const QString& strCaption, unsigned nType)
{
    const QString strTitle = strCaption.isEmpty() ? QApplication::applicationName() : strCaption;
    QMessageBox box(IconOf(nType), strTitle, strText, ButtonsOf(nType), ActiveWindow());
    box.setTextFormat(Qt::PlainText);
    return ResultOf(box.exec(), nType);
}

MessageBoxHandler InstallQtMessageBoxes(MessageBoxPresenter fnPresenter)
{
    if (!fnPresenter)
        fnPresenter = ShowQtMessageBox;
    return SetMessageBoxHandler([fnPresenter](const std::string& strText, const std::string& strCaption,
                                              unsigned nType) {
        const QString qText = QString::fromStdString(strText);
        const QString qCaption = QString::fromStdString(strCaption);
        QCoreApplication* pApp = QCoreApplication::instance();
        if (!pApp || QThread::currentThread() == pApp->thread())
            return fnPresenter(qText, qCaption, nType);
        // Stays IDCANCEL when the application goes before the box was shown.
        int nResult = IDCANCEL;
        QMetaObject::invokeMethod(
            pApp, [&] { nResult = fnPresenter(qText, qCaption, nType); }, Qt::BlockingQueuedConnection);
        return nResult;
    });
}
