#pragma once
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs fn on the topmost modal window of class T as soon as it is visible,
// from the event loop of the modal run the test is about to start.
template <class T>
void WhenModalShown(std::function<void(T&)> fn)
{
    auto* pTimer = new QTimer;
    pTimer->setInterval(10);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, fn] {
        auto* pWindow = qobject_cast<T*>(QApplication::activeModalWidget());
        if (pWindow == nullptr || !pWindow->isVisible())
            return;
        pTimer->stop();
        pTimer->deleteLater();
        fn(*pWindow);
    });
    pTimer->start();
}
