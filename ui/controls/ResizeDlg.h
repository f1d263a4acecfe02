#pragma once
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/AnchorLayout.h"
#include "ui/controls/SizeGripExt.h"
#include "ui/controls/WindowPlacementStore.h"

// Gives a top-level dialog (any QWidget) the resizing rules of its controls,
// a size grip and a remembered placement. It is not a QObject, so a dialog
// class may derive from it next to its own widget base, or hold one.
//
// The dialog calls OnInitDialog(this) first in its own initialisation, then
// registers its controls with AddAnchor once they have their initial places.
// From then on every size change lays the registered controls out; when the
// dialog is closed (hidden by its code, not by minimising) its placement is
// saved under m_strPlacementKey if that is set.
class CResizeDlg
{
public:
    CResizeDlg();
    virtual ~CResizeDlg();
    CResizeDlg(const CResizeDlg&) = delete;
    CResizeDlg& operator=(const CResizeDlg&) = delete;

    // Fixes the initial client size, creates the grip and starts watching the
    // dialog's size changes.
    void OnInitDialog(QWidget* pDialog);

    // Registers a control with its four edge modes (AnchorMode), options
    // (bit 0 ANCHOR_CLIP_ERASE, bit 1 ANCHOR_REPAINT) and ratios (-1.0 where
    // the modes use none). Registering a control again replaces its rule in
    // place. False when there is no such control or no dialog yet.
    bool AddAnchor(int nCtrlId, unsigned leftMode, unsigned rightMode, unsigned topMode, unsigned bottomMode,
                   unsigned options = 0, double hRatio1 = -1.0, double hRatio2 = -1.0, double vRatio1 = -1.0,
                   double vRatio2 = -1.0);
    bool AddAnchor(QWidget* pControl, unsigned leftMode, unsigned rightMode, unsigned topMode,
                   unsigned bottomMode, unsigned options = 0, double hRatio1 = -1.0, double hRatio2 = -1.0,
                   double vRatio1 = -1.0, double vRatio2 = -1.0);

    // Wants the grip shown or hidden and puts it into the corner.
    void ShowSizeGrip(bool bShow);

    // The smallest size the user can drag the dialog to, and whether each
    // axis may change at all (a fixed axis keeps the minimum).
    void SetTrackLimits(const QSize& minTrack, bool bResizableX, bool bResizableY);

    const std::vector<AnchorItem>& Anchors() const { return m_layout.Items(); }
    CSizeGripExt* SizeGrip() const { return m_grip; }

    WindowPlacementStore m_placement;
    // Value name of the dialog's placement in the profile; empty: not saved
    // when the dialog closes.
    std::string m_strPlacementKey;

protected:
    // The control with a template id; dialogs built from templates provide it.
    virtual QWidget* FindAnchorControl(int nCtrlId) const { return nullptr; }

    // A size change of the dialog (also a change of its window state).
    virtual void OnSize(SizeChange type);
    // The dialog was closed: its placement is saved.
    virtual void OnDestroy();

private:
    class CEventHook;
    friend class CEventHook;

    struct RegisteredControl
    {
        int nCtrlId;
        QPointer<QWidget> pControl;
    };

    bool Register(int nCtrlId, QWidget* pControl, unsigned leftMode, unsigned rightMode, unsigned topMode,
                  unsigned bottomMode, unsigned options, double hRatio1, double hRatio2, double vRatio1,
                  double vRatio2);
    QWidget* Control(int nCtrlId) const;
    AnchorRect ClientRectOf(const QWidget* pControl) const;
    void MoveControl(QWidget* pControl, const AnchorMove& move) const;
    void ApplyTrackLimits() const;

    QPointer<QWidget> m_pDialog;
    std::unique_ptr<CEventHook> m_pHook;
    CAnchorLayout m_layout;
    std::vector<RegisteredControl> m_controls;
    // Controls registered by pointer get ids above the 16-bit template ids.
    int m_nNextPointerId = 0x10000;
    QPointer<CSizeGripExt> m_grip;
    QSize m_ptMinTrack{0, 0};
    bool m_bResizableX = true;
    bool m_bResizableY = true;
};
