#include "platform/qt/DialogControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

#include "platform/qt/Icons.h"

namespace {

QLabel* CreateLabel(const DialogControl& control, QWidget* pParent)
{
    auto* pLabel = new QLabel(QString::fromUtf8(control.pszText), pParent);
    pLabel->setTextFormat(Qt::PlainText);
    pLabel->setAlignment(((control.nStyle & CS_RIGHT) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    return pLabel;
}

QLabel* CreateIcon(const DialogControl& control, QWidget* pParent, const QSize& size)
{
    auto* pLabel = new QLabel(pParent);
    const int nSide = std::min(size.width(), size.height());
    pLabel->setPixmap(LoadIconResource(control.nIconId).pixmap(nSide, nSide));
    pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return pLabel;
}

QPushButton* CreateButton(const DialogControl& control, QWidget* pParent)
{
    auto* pButton = new QPushButton(QString::fromUtf8(control.pszText), pParent);
    pButton->setDefault(control.kind == ControlKind::DefaultButton);
    return pButton;
}

QLineEdit* CreateEdit(const DialogControl& control, QWidget* pParent)
{
    auto* pEdit = new QLineEdit(QString::fromUtf8(control.pszText), pParent);
    pEdit->setReadOnly((control.nStyle & CS_READONLY) != 0);
    pEdit->setFrame((control.nStyle & CS_BORDER) != 0);
    return pEdit;
}

QProgressBar* CreateProgressBar(QWidget* pParent)
{
    auto* pBar = new QProgressBar(pParent);
    pBar->setRange(0, 100);
    pBar->setValue(0);
    pBar->setTextVisible(false);
    return pBar;
}

QTreeWidget* CreateReportList(const DialogControl& control, QWidget* pParent)
{
    auto* pList = new QTreeWidget(pParent);
    pList->setRootIsDecorated(false);
    pList->setUniformRowHeights(true);
    pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    pList->setSelectionMode((control.nStyle & CS_MULTISELECT) ? QAbstractItemView::ExtendedSelection
                                                               : QAbstractItemView::SingleSelection);
    pList->setFrameShape((control.nStyle & CS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
    return pList;
}

QWidget* CreateByKind(const DialogControl& control, QWidget* pParent, const QSize& pixelSize)
{
    switch (control.kind) {
    case ControlKind::Static:
    case ControlKind::Hyperlink:
        return CreateLabel(control, pParent);
    case ControlKind::Icon:
        return CreateIcon(control, pParent, pixelSize);
    case ControlKind::GroupBox:
        return new QGroupBox(QString::fromUtf8(control.pszText), pParent);
    case ControlKind::Button:
    case ControlKind::DefaultButton:
        return CreateButton(control, pParent);
    case ControlKind::CheckBox:
        return new QCheckBox(QString::fromUtf8(control.pszText), pParent);
    case ControlKind::Edit:
        return CreateEdit(control, pParent);
    case ControlKind::ComboBox:
        return new QComboBox(pParent);
    case ControlKind::ProgressBar:
        return CreateProgressBar(pParent);
    case ControlKind::ReportList:
        return CreateReportList(control, pParent);
    }
    return nullptr;
}

}  // namespace

QWidget* CreateDialogControl(const DialogControl& control, const QSize& pixelSize, QWidget* pParent)
{
    QWidget* pWidget = CreateByKind(control, pParent, pixelSize);
    if (control.nStyle & CS_DISABLED)
        pWidget->setEnabled(false);
    // Controls outside the tab order still take the focus when clicked.
    if (!(control.nStyle & CS_TABSTOP) && (pWidget->focusPolicy() & Qt::TabFocus))
        pWidget->setFocusPolicy(Qt::ClickFocus);
    return pWidget;
}
