#include "ui/ProcessingDlg.h"

#include <QProgressBar>

#include "resources/Resource.h"

CProcessing::CProcessing(QWidget* pOwner) : CTemplateDialog(IDD_PROCESSING, pOwner)
{
}

void CProcessing::OnInitDialog()
{
    // A range of 0..0 is Qt's marquee: the bar runs without a value.
    if (auto* pBar = GetDlgItemAs<QProgressBar>(IDC_PROCESSING_BAR))
        pBar->setRange(0, 0);
}

void CProcessing::BeginWait()
{
    Create();
    if (QWidget* pOwner = parentWidget()) {
        const QRect owner = pOwner->frameGeometry();
        move(owner.center() - rect().center());
    }
    setWindowTitle(QString());
    SetTimer(TIMER_SHOW, kShowDelayMs);
}

void CProcessing::EndWait()
{
    KillTimer(TIMER_SHOW);
    hide();
}

void CProcessing::OnTimer(int nId)
{
    if (nId != TIMER_SHOW)
        return;
    KillTimer(TIMER_SHOW);
    if (!isVisible())
        show();
}

void CProcessing::OnCommand(int nId)
{
    if (nId == IDC_PROCESSING_CANCEL)
        OnCancel();
}

void CProcessing::OnCancel()
{
    // The window stays until the load has finished its current file; the
    // owner hides it then.
    if (m_fnOnCancel)
        m_fnOnCancel();
}
