#include "platform/qt/TemplateDialog.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMetaProperty>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <stdexcept>
#include <string>

#include "platform/MessageBox.h"
#include "platform/qt/DialogControls.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/MenuBuilder.h"
#include "resources/Menus.h"

namespace {

const DialogTemplate& TemplateById(int nId)
{
    const DialogTemplate* pTemplate = FindDialogTemplate(nId);
    if (!pTemplate)
        throw std::invalid_argument("no dialog template " + std::to_string(nId));
    return *pTemplate;
}

// Labels, buttons, edits and the program's own text controls; not a progress
// bar, whose "text" is its computed percentage.
bool HasEditableText(const QWidget* pWidget)
{
    if (!pWidget)
        return false;
    const QMetaObject* pMeta = pWidget->metaObject();
    const int nIndex = pMeta->indexOfProperty("text");
    return nIndex >= 0 && pMeta->property(nIndex).isWritable();
}

bool IsEscapeOrEnter(const QKeyEvent* pEvent)
{
    const int nKey = pEvent->key();
    return nKey == Qt::Key_Escape || nKey == Qt::Key_Return || nKey == Qt::Key_Enter;
}

}  // namespace

CTemplateDialog::CTemplateDialog(int nTemplateId, QWidget* pParent, const ControlFactory& fnFactory)
    : QDialog(pParent), m_template(TemplateById(nTemplateId))
{
    setFont(DialogFont(m_template));
    m_baseUnits = DialogBaseUnits(font());
    setWindowTitle(QString::fromUtf8(m_template.pszCaption));
    ApplyFrame();
    CreateControls(fnFactory);
}

CTemplateDialog::~CTemplateDialog() = default;

void CTemplateDialog::ApplyFrame()
{
    const unsigned nFrame = m_template.nFrame;
    Qt::WindowFlags flags = (nFrame & DF_APPWINDOW) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if (nFrame & DF_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (nFrame & DF_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (nFrame & DF_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (nFrame & DF_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);

    const QSize clientSize = MapDialogRect({0, 0, m_template.cx, m_template.cy}).size();
    if (nFrame & DF_RESIZABLE)
        resize(clientSize);
    else
        setFixedSize(clientSize);
}

void CTemplateDialog::CreateControls(const ControlFactory& fnFactory)
{
    for (const DialogControl& control : m_template.controls) {
        const QRect rect = MapDialogRect(control.rect);
        QWidget* pWidget = fnFactory ? fnFactory(control, this) : nullptr;
        if (!pWidget)
            pWidget = CreateDialogControl(control, rect.size(), this);
        pWidget->setGeometry(rect);
        pWidget->setProperty("controlId", control.nId);
        m_controls.push_back({control.nId, pWidget});
        if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget)) {
            const int nId = control.nId;
            connect(pButton, &QAbstractButton::clicked, this, [this, nId] { OnCommand(nId); });
        }
    }
}

QRect CTemplateDialog::MapDialogRect(const DialogRect& rect) const
{
    return ::MapDialogRect(rect, m_baseUnits);
}

void CTemplateDialog::InitOnce()
{
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    OnInitDialog();
}

int CTemplateDialog::DoModal()
{
    InitOnce();
    return exec();
}

void CTemplateDialog::Create()
{
    InitOnce();
}

void CTemplateDialog::EndDialog(int nResult)
{
    done(nResult);
}

QWidget* CTemplateDialog::GetDlgItem(int nId) const
{
    for (const ControlEntry& entry : m_controls)
        if (entry.nId == nId)
            return entry.pWidget;
    return nullptr;
}

std::vector<int> CTemplateDialog::ControlIds() const
{
    std::vector<int> ids;
    ids.reserve(m_controls.size());
    for (const ControlEntry& entry : m_controls)
        ids.push_back(entry.nId);
    return ids;
}

void CTemplateDialog::SetDlgItemText(int nId, const QString& strText)
{
    QWidget* pWidget = GetDlgItem(nId);
    if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget))
        pGroup->setTitle(strText);
    else if (HasEditableText(pWidget))
        pWidget->setProperty("text", strText);
}

QString CTemplateDialog::GetDlgItemText(int nId) const
{
    QWidget* pWidget = GetDlgItem(nId);
    if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget))
        return pGroup->title();
    return HasEditableText(pWidget) ? pWidget->property("text").toString() : QString();
}

void CTemplateDialog::LoadAccelerators(int nTableId)
{
    const AcceleratorTable* pTable = FindAcceleratorTable(nTableId);
    if (!pTable)
        return;
    for (const Accelerator& accel : pTable->keys) {
        auto* pShortcut = new QShortcut(QKeySequence::fromString(QString::fromUtf8(accel.pszKeys)), this);
        pShortcut->setContext(Qt::WindowShortcut);
        const int nCommand = accel.nCommand;
        connect(pShortcut, &QShortcut::activated, this, [this, nCommand] { OnCommand(nCommand); });
    }
}

void CTemplateDialog::SwallowEscapeAndEnter()
{
    m_bSwallowEscapeAndEnter = true;
    for (QPushButton* pButton : findChildren<QPushButton*>()) {
        pButton->setAutoDefault(false);
        pButton->setDefault(false);
    }
}

void CTemplateDialog::TrackPopupMenu(int nMenuId, int nPopup, const QPoint& globalPos)
{
    QMenu* pMenu = CreatePopupMenu(nMenuId, nPopup, this);
    if (!pMenu)
        return;
    const int nCommand = CommandOf(pMenu->exec(globalPos));
    pMenu->deleteLater();
    if (nCommand != 0)
        OnCommand(nCommand);
}

void CTemplateDialog::OnCommand(int nId)
{
    if (nId == IDOK)
        OnOK();
    else if (nId == IDCANCEL)
        OnCancel();
}

void CTemplateDialog::OnOK()
{
    EndDialog(IDOK);
}

void CTemplateDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CTemplateDialog::OnClose()
{
    OnCancel();
}

void CTemplateDialog::accept()
{
    OnOK();
}

void CTemplateDialog::reject()
{
    OnCancel();
}

void CTemplateDialog::closeEvent(QCloseEvent* pEvent)
{
    // The window stays unless the handler ends or hides it.
    pEvent->ignore();
    OnClose();
}

void CTemplateDialog::keyPressEvent(QKeyEvent* pEvent)
{
    if (m_bSwallowEscapeAndEnter && IsEscapeOrEnter(pEvent)) {
        pEvent->accept();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}
