#include "ui/controls/ResizeDlg.h"

#include <QEvent>
#include <algorithm>

#include "platform/MessageBox.h"

namespace {

constexpr char kPlacementSection[] = "Position";

AnchorRect ToAnchorRect(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect ToQRect(const AnchorRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

SizeChange SizeChangeOf(const QWidget* pDialog)
{
    const Qt::WindowStates state = pDialog->windowState();
    if (state & Qt::WindowMinimized)
        return SizeChange::Minimized;
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return SizeChange::Maximized;
    return SizeChange::Restored;
}

}  // namespace

// Watches the dialog's size, state and visibility for its CResizeDlg.
class CResizeDlg::CEventHook : public QObject
{
public:
    explicit CEventHook(CResizeDlg& owner)
        : m_owner(owner)
    {
    }

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pWatched == m_owner.m_pDialog) {
            switch (pEvent->type()) {
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                m_owner.OnSize(SizeChangeOf(m_owner.m_pDialog));
                break;
            case QEvent::Hide:
                // A minimised window is hidden by the window system; only a
                // hide by the program ends the dialog.
                if (!pEvent->spontaneous())
                    m_owner.OnDestroy();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    CResizeDlg& m_owner;
};

CResizeDlg::CResizeDlg() = default;

CResizeDlg::~CResizeDlg()
{
    if (m_pDialog && m_pHook)
        m_pDialog->removeEventFilter(m_pHook.get());
}

void CResizeDlg::OnInitDialog(QWidget* pDialog)
{
    m_pDialog = pDialog;
    m_layout.Init(ToAnchorRect(pDialog->rect()));
    if (!m_pHook)
        m_pHook = std::make_unique<CEventHook>(*this);
    pDialog->installEventFilter(m_pHook.get());
    if (!m_grip)
        m_grip = new CSizeGripExt(pDialog, true, true);
    if (m_ptMinTrack != QSize(0, 0) || !m_bResizableX || !m_bResizableY)
        ApplyTrackLimits();
}

bool CResizeDlg::AddAnchor(int nCtrlId, unsigned leftMode, unsigned rightMode, unsigned topMode,
                           unsigned bottomMode, unsigned options, double hRatio1, double hRatio2, double vRatio1,
                           double vRatio2)
{
    QWidget* pControl = FindAnchorControl(nCtrlId);
    if (pControl == nullptr)
        return false;
    return Register(nCtrlId, pControl, leftMode, rightMode, topMode, bottomMode, options, hRatio1, hRatio2,
                    vRatio1, vRatio2);
}

bool CResizeDlg::AddAnchor(QWidget* pControl, unsigned leftMode, unsigned rightMode, unsigned topMode,
                           unsigned bottomMode, unsigned options, double hRatio1, double hRatio2, double vRatio1,
                           double vRatio2)
{
    if (pControl == nullptr)
        return false;
    auto it = std::find_if(m_controls.begin(), m_controls.end(),
                           [&](const RegisteredControl& c) { return c.pControl == pControl; });
    const int nCtrlId = it != m_controls.end() ? it->nCtrlId : m_nNextPointerId++;
    return Register(nCtrlId, pControl, leftMode, rightMode, topMode, bottomMode, options, hRatio1, hRatio2,
                    vRatio1, vRatio2);
}

bool CResizeDlg::Register(int nCtrlId, QWidget* pControl, unsigned leftMode, unsigned rightMode,
                          unsigned topMode, unsigned bottomMode, unsigned options, double hRatio1,
                          double hRatio2, double vRatio1, double vRatio2)
{
    if (!m_pDialog)
        return false;
    m_layout.Add(MakeAnchorItem(nCtrlId, ClientRectOf(pControl), m_pDialog->width(), m_pDialog->height(),
                                leftMode, rightMode, topMode, bottomMode, options, hRatio1, hRatio2, vRatio1,
                                vRatio2));
    auto it = std::find_if(m_controls.begin(), m_controls.end(),
                           [&](const RegisteredControl& c) { return c.nCtrlId == nCtrlId; });
    if (it != m_controls.end())
        it->pControl = pControl;
    else
        m_controls.push_back({nCtrlId, pControl});
    // A control that fills its own background is left out when the dialog
    // paints its background.
    if (options & 1)
        pControl->setAutoFillBackground(true);
    return true;
}

QWidget* CResizeDlg::Control(int nCtrlId) const
{
    auto it = std::find_if(m_controls.begin(), m_controls.end(),
                           [&](const RegisteredControl& c) { return c.nCtrlId == nCtrlId; });
    return it != m_controls.end() ? it->pControl.data() : nullptr;
}

AnchorRect CResizeDlg::ClientRectOf(const QWidget* pControl) const
{
    QRect r = pControl->geometry();
    if (const QWidget* pParent = pControl->parentWidget(); pParent != nullptr && pParent != m_pDialog)
        r.moveTopLeft(pParent->mapTo(m_pDialog.data(), r.topLeft()));
    return ToAnchorRect(r);
}

void CResizeDlg::MoveControl(QWidget* pControl, const AnchorMove& move) const
{
    const bool bRepaint = move.flags & ANCHOR_REPAINT;
    if (bRepaint)
        pControl->update();
    QRect target = ToQRect(move.to);
    if (const QWidget* pParent = pControl->parentWidget(); pParent != nullptr && pParent != m_pDialog)
        target.moveTopLeft(pParent->mapFrom(m_pDialog.data(), target.topLeft()));
    pControl->setGeometry(target);
    if (bRepaint)
        m_pDialog->repaint(ToQRect(move.from));
}

void CResizeDlg::OnSize(SizeChange type)
{
    if (!m_pDialog || type == SizeChange::Minimized)
        return;
    // Qt reports no sizing edge: every change is a restored or maximised one.
    const unsigned nEdges = MovedEdges(type, 0);
    const std::vector<AnchorMove> moves =
        m_layout.Layout(nEdges, ToAnchorRect(m_pDialog->rect()), [this](int32_t nCtrlId) {
            const QWidget* pControl = Control(nCtrlId);
            return pControl != nullptr ? ClientRectOf(pControl) : AnchorRect{};
        });
    for (const AnchorMove& move : moves) {
        if (QWidget* pControl = Control(move.ctrlId))
            MoveControl(pControl, move);
    }
    if (m_grip) {
        m_grip->SetShown(type != SizeChange::Maximized);
        m_grip->Reposition(m_pDialog);
    }
}

void CResizeDlg::OnDestroy()
{
    if (!m_pDialog || m_strPlacementKey.empty())
        return;
    if (!m_placement.Save(m_pDialog, m_strPlacementKey, kPlacementSection))
        ShowMessageBox("Fail to Save!", kMessageBoxCaption, MB_OK);
}

void CResizeDlg::ShowSizeGrip(bool bShow)
{
    if (!m_grip || !m_pDialog)
        return;
    m_grip->SetShown(bShow);
    m_grip->Reposition(m_pDialog);
}

void CResizeDlg::SetTrackLimits(const QSize& minTrack, bool bResizableX, bool bResizableY)
{
    m_ptMinTrack = minTrack;
    m_bResizableX = bResizableX;
    m_bResizableY = bResizableY;
    if (m_pDialog)
        ApplyTrackLimits();
}

void CResizeDlg::ApplyTrackLimits() const
{
    m_pDialog->setMinimumSize(m_ptMinTrack);
    m_pDialog->setMaximumWidth(m_bResizableX ? QWIDGETSIZE_MAX : m_ptMinTrack.width());
    m_pDialog->setMaximumHeight(m_bResizableY ? QWIDGETSIZE_MAX : m_ptMinTrack.height());
}
