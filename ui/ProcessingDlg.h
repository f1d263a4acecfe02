#pragma once
#include <QString>
#include <functional>

#include "platform/qt/TemplateDialog.h"

// The wait window of a file-list load: a running marquee bar and a Cancel
// button. One instance lives as long as the main window; it is shown only
// when a load lasts longer than kShowDelayMs, so short loads never flash it.
class CProcessing : public CTemplateDialog
{
    Q_OBJECT
public:
    static constexpr uint32_t kShowDelayMs = 500;

    explicit CProcessing(QWidget* pOwner);

    // A load begins: centred over the owner, no caption yet, shown after the
    // delay unless EndWait comes first.
    void BeginWait();
    // The load has ended: the pending show is dropped and the window hidden.
    void EndWait();

    // What Cancel (the button, Escape or the close box) does.
    std::function<void()> m_fnOnCancel;

protected:
    void OnInitDialog() override;
    void OnCommand(int nId) override;
    void OnCancel() override;
    void OnTimer(int nId) override;

private:
    enum
    {
        TIMER_SHOW = 1
    };
};
