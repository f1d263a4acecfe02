#pragma once
#include <QDialog>
#include <QPointer>
#include <functional>
#include <vector>

#include "platform/qt/MessageWindow.h"
#include "resources/DialogTemplates.h"

// Base of every dialog of the program: a QDialog built from a dialog template
// (resources/DialogTemplates.h), with window messages and timers
// (CMessageWindow).
//
// The constructor creates every control of the template as a direct child,
// with its id, text and styles, at its template position converted from
// dialog units with the dialog font (DialogUnits.h); the client area gets the
// template's size, fixed unless the frame is resizable. No Qt layouts: a
// resizer moves the controls by id.
//
// Buttons (and anything else that is a QAbstractButton) call OnCommand(id)
// when clicked; OK (1) and Cancel (2) lead to OnOK / OnCancel, which end the
// dialog with IDOK / IDCANCEL unless overridden. Escape and the close box go
// to OnCancel (through OnClose for the close box), Enter presses the default
// button. OnInitDialog runs once, before the dialog is first shown by DoModal
// or set up by Create.
class CTemplateDialog : public QDialog, public CMessageWindow
{
    Q_OBJECT

public:
    // Makes the widget for a control instead of the default one (for example
    // a report list class of the program's own); returns nullptr to keep the
    // default. It must return a widget whose parent is pParent.
    using ControlFactory = std::function<QWidget*(const DialogControl& control, QWidget* pParent)>;

    explicit CTemplateDialog(int nTemplateId, QWidget* pParent = nullptr, const ControlFactory& fnFactory = {});
    ~CTemplateDialog() override;

    const DialogTemplate& Template() const { return m_template; }

    // Runs the dialog modally; returns the code given to EndDialog.
    int DoModal();
    // Prepares a modeless dialog (runs OnInitDialog) without showing it.
    void Create();
    // Ends a modal run with nResult (a modeless dialog is hidden).
    void EndDialog(int nResult);

    // The first control with that id, or nullptr.
    QWidget* GetDlgItem(int nId) const;
    template <class T>
    T* GetDlgItemAs(int nId) const
    {
        return qobject_cast<T*>(GetDlgItem(nId));
    }
    // Ids of the template's controls in creation order.
    std::vector<int> ControlIds() const;

    // The text of a label, button, edit or hyperlink, or a group box's title.
    void SetDlgItemText(int nId, const QString& strText);
    QString GetDlgItemText(int nId) const;

    // Pixel sizes of this dialog's dialog units.
    QSize BaseUnits() const { return m_baseUnits; }
    QRect MapDialogRect(const DialogRect& rect) const;

    // Keys of an accelerator table (resources/Menus.h) call OnCommand while
    // the dialog or any of its controls has the focus.
    void LoadAccelerators(int nTableId);

    // Escape and Enter do nothing in this dialog, also while a control has the
    // focus; buttons are then pressed only by mouse or Space.
    void SwallowEscapeAndEnter();

    // Shows popup nPopup of a menu resource at globalPos and runs OnCommand for
    // the chosen item.
    void TrackPopupMenu(int nMenuId, int nPopup, const QPoint& globalPos);

protected:
    virtual void OnInitDialog() {}
    virtual void OnCommand(int nId);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClose();

    void accept() override;
    void reject() override;
    void closeEvent(QCloseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    struct ControlEntry
    {
        int nId;
        QPointer<QWidget> pWidget;
    };

    void CreateControls(const ControlFactory& fnFactory);
    void ApplyFrame();
    void InitOnce();

    const DialogTemplate& m_template;
    QSize m_baseUnits;
    std::vector<ControlEntry> m_controls;
    bool m_bInitialised = false;
    bool m_bSwallowEscapeAndEnter = false;
};
