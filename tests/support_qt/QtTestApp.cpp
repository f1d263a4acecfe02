#include "tests/support_qt/QtTestApp.h"

#include <QElapsedTimer>
#include <QThread>

QApplication& TestApplication()
{
    static int s_nArgc = 1;
    static char s_szName[] = "kestrune-test";
    static char* s_argv[] = {s_szName, nullptr};
    // Never destroyed: Qt's own objects (input devices of QTest) must not be
    // torn down by exit handlers in an arbitrary order.
    static QApplication* s_pApp = new QApplication(s_nArgc, s_argv);
    return *s_pApp;
}

bool PumpEventsUntil(const std::function<bool()>& fnDone, uint32_t nTimeoutMs)
{
    TestApplication();
    QElapsedTimer timer;
    timer.start();
    while (!fnDone()) {
        if (timer.elapsed() >= nTimeoutMs)
            return fnDone();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void PumpEventsFor(uint32_t nMs)
{
    PumpEventsUntil([] { return false; }, nMs);
}
