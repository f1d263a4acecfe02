#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a call on the user-interface thread, so that
// the end of a session, a `kill` or Ctrl+C in a terminal closes the program
// through its normal close sequence (which saves the settings). A second
// signal while that runs ends the process at once, as without this object.
// One object per process.
class CTerminationSignal : public QObject
{
    Q_OBJECT

public:
    explicit CTerminationSignal(std::function<void()> fnOnSignal, QObject* pParent = nullptr);
    ~CTerminationSignal() override;
    CTerminationSignal(const CTerminationSignal&) = delete;
    CTerminationSignal& operator=(const CTerminationSignal&) = delete;

private:
    void OnSignalled();

    std::function<void()> m_fnOnSignal;
    QSocketNotifier* m_pNotifier = nullptr;
};
