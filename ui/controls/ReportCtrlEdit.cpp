// The report list's in-place editor, and the keys and clicks that drive it.
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>

#include "ui/controls/ReportCtrl.h"
#include "ui/controls/ReportItemDelegate.h"
#include "ui/controls/ReportModel.h"

bool CReportCtrl::AddEditableColumn(int nColumn)
{
    if (!m_pModel->IsColumn(nColumn) || IsEditableColumn(nColumn))
        return false;
    m_editableColumns.push_back(nColumn);
    return true;
}

bool CReportCtrl::IsEditableColumn(int nColumn) const
{
    return std::find(m_editableColumns.begin(), m_editableColumns.end(), nColumn) != m_editableColumns.end();
}

void CReportCtrl::EnableEditing(bool bEnable)
{
    if (!bEnable)
        EndEdit(true);
    m_bEditingEnabled = bEnable;
}

bool CReportCtrl::IsEditing() const
{
    return m_pModel->IsRow(m_nEditRow) && m_pModel->IsColumn(m_nEditColumn);
}

QRect CReportCtrl::EditorRect() const
{
    const QModelIndex cell = m_pModel->index(m_nEditRow, m_nEditColumn);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(cell);
    return m_pDelegate->TextRect(option, cell);
}

bool CReportCtrl::BeginEdit(int nRow, int nColumn)
{
    if (!m_pModel->IsRow(nRow) || !m_pModel->IsColumn(nColumn))
        return false;
    if (IsEditing() && nRow == m_nEditRow && nColumn == m_nEditColumn)
        return true;
    EndEdit(true);
    // Selecting notifies the owner, who may change the rows: the editor
    // counts as open only once that is over.
    if (!m_pModel->IsRow(nRow) || !m_pModel->IsColumn(nColumn))
        return false;
    selectionModel()->select(m_pModel->index(nRow, 0),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    SetFocusRow(nRow);
    if (!m_pModel->IsRow(nRow) || !m_pModel->IsColumn(nColumn))
        return false;
    m_nEditRow = nRow;
    m_nEditColumn = nColumn;

    if (!m_pEditor) {
        m_pEditor = new QLineEdit(viewport());
        m_pEditor->installEventFilter(this);
    }
    const int nFormat = header()->isHidden() ? LVCFMT_LEFT : m_pModel->ColumnFormat(nColumn);
    m_pEditor->setAlignment(AlignmentOf(nFormat));
    m_pEditor->setFont(font());
    m_pEditor->setGeometry(EditorRect());

    const QString strText = m_pModel->CellText(nRow, nColumn);
    m_pEditor->setText(strText);
    m_pEditor->show();
    // Leave a file name's extension out of the selection.
    const qsizetype nDot = strText.lastIndexOf(u'.');
    if (nDot < 0)
        m_pEditor->selectAll();
    else
        m_pEditor->setSelection(0, static_cast<int>(nDot));
    m_pEditor->setFocus();
    m_pEditor->setGeometry(EditorRect());

    if (nColumn == 0)
        m_strPreEditText = m_pModel->CellText(nRow, 0);
    return true;
}

bool CReportCtrl::EndEdit(bool bCommit)
{
    if (m_nEditRow < 0 && m_nEditColumn < 0)
        return false;
    const int nRow = m_nEditRow;
    const int nColumn = m_nEditColumn;
    const bool bValid = IsEditing();
    // Closed before the owner hears of the change, so whatever the owner does
    // to the list then cannot reach the editor again.
    m_nEditRow = -1;
    m_nEditColumn = -1;
    const QString strText = m_pEditor->text();
    if (m_pEditor->hasFocus())
        setFocus();
    m_pEditor->hide();
    if (!bValid || !bCommit || strText == m_pModel->CellText(nRow, nColumn))
        return false;
    m_pModel->SetCellText(nRow, nColumn, strText);
    emit ReportEdited(nRow, nColumn);
    return true;
}

// ---------------------------------------------------------------------- keys

bool CReportCtrl::event(QEvent* pEvent)
{
    // Tab never reaches keyPressEvent, so keys are looked at here first.
    if (pEvent->type() == QEvent::KeyPress && PreTranslateKey(static_cast<QKeyEvent*>(pEvent)))
        return true;
    return QTreeView::event(pEvent);
}

bool CReportCtrl::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (m_pEditor && pWatched == m_pEditor && pEvent->type() == QEvent::KeyPress)
        return PreTranslateKey(static_cast<QKeyEvent*>(pEvent));
    if (pWatched == header()->viewport()) {
        if (pEvent->type() == QEvent::ContextMenu) {
            // Only a right click on the header opens the column menu.
            auto* pMenuEvent = static_cast<QContextMenuEvent*>(pEvent);
            if (pMenuEvent->reason() == QContextMenuEvent::Mouse)
                OnHeaderContextMenu(pMenuEvent->globalPos());
            return true;
        }
        if (pEvent->type() == QEvent::MouseButtonPress &&
            IsOnSectionDivider(static_cast<QMouseEvent*>(pEvent)->position().toPoint()))
            EndEdit(false);  // a column resize begins
    }
    return QTreeView::eventFilter(pWatched, pEvent);
}

bool CReportCtrl::PreTranslateKey(QKeyEvent* pEvent)
{
    const int nKey = pEvent->key();
    if (!IsEditing())
        return nKey == Qt::Key_Space;

    const int nRows = m_pModel->rowCount();
    switch (nKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const auto it = std::find(m_editableColumns.rbegin(), m_editableColumns.rend(), m_nEditColumn);
        if (it == m_editableColumns.rend()) {
            MoveEditorToRow((nRows + m_nEditRow - 1) % nRows);
            return true;
        }
        const int n = static_cast<int>(m_editableColumns.size());
        const int k = n - 1 - static_cast<int>(it - m_editableColumns.rbegin());
        const bool bBack = nKey == Qt::Key_Backtab || (pEvent->modifiers() & Qt::ShiftModifier);
        const int nColumn = m_editableColumns[bBack ? (n + k - 1) % n : (k + 1) % n];
        const int nRow = m_nEditRow;
        EndEdit(true);
        EnsureColumnVisible(nColumn, false);
        BeginEdit(nRow, nColumn);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EndEdit(true);
        return true;
    case Qt::Key_Escape:
        EndEdit(false);
        return true;
    case Qt::Key_Up:
        MoveEditorToRow((nRows + m_nEditRow - 1) % nRows);
        return true;
    case Qt::Key_Down:
        MoveEditorToRow((m_nEditRow + 1) % nRows);
        return true;
    default:
        return false;
    }
}

void CReportCtrl::MoveEditorToRow(int nRow)
{
    const int nColumn = m_nEditColumn;
    EndEdit(true);
    if (!m_pModel->IsRow(nRow))
        return;
    scrollTo(m_pModel->index(nRow, nColumn), QAbstractItemView::EnsureVisible);
    BeginEdit(nRow, nColumn);
}

void CReportCtrl::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Plus && (pEvent->modifiers() & Qt::KeypadModifier) &&
        (pEvent->modifiers() & Qt::ControlModifier)) {
        AutoSizeColumns(-1, false);
        return;
    }
    QTreeView::keyPressEvent(pEvent);
}

// -------------------------------------------------------------------- clicks

namespace {

int MouseMessage(Qt::MouseButton button, bool bDoubleClick)
{
    switch (button) {
    case Qt::LeftButton:
        return bDoubleClick ? RC_MSG_LBUTTONDBLCLK : RC_MSG_LBUTTONDOWN;
    case Qt::RightButton:
        return bDoubleClick ? RC_MSG_RBUTTONDBLCLK : RC_MSG_RBUTTONDOWN;
    case Qt::MiddleButton:
        return bDoubleClick ? RC_MSG_MBUTTONDBLCLK : RC_MSG_MBUTTONDOWN;
    default:
        return 0;
    }
}

}  // namespace

void CReportCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    HandleClick(pEvent, MouseMessage(pEvent->button(), false), false);
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    HandleClick(pEvent, MouseMessage(pEvent->button(), true), true);
}

void CReportCtrl::wheelEvent(QWheelEvent* pEvent)
{
    EndEdit(false);
    QTreeView::wheelEvent(pEvent);
}

bool CReportCtrl::IsOnCheckBox(const QModelIndex& index, const QPoint& pos) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return m_pDelegate->CheckRect(option, index).contains(pos);
}

void CReportCtrl::HandleClick(QMouseEvent* pEvent, int nMessage, bool bDoubleClick)
{
    auto passOn = [&] {
        if (bDoubleClick)
            QTreeView::mouseDoubleClickEvent(pEvent);
        else
            QTreeView::mousePressEvent(pEvent);
    };
    if (nMessage == 0) {
        passOn();
        return;
    }
    const QPoint pos = pEvent->position().toPoint();
    const QModelIndex hit = indexAt(pos);
    const int nRow = hit.isValid() ? hit.row() : -1;
    const int nColumn = header()->logicalIndexAt(pos.x());
    const bool bWasChecked = nRow >= 0 && m_pModel->IsChecked(nRow);
    const bool bWasEditing = IsEditing();
    EndEdit(true);
    const bool bValidRow = m_pModel->IsRow(nRow);
    const bool bWasSelectedAndFocused = bValidRow && (GetItemStates(nRow) & (RC_ITEM_SELECTED | RC_ITEM_FOCUSED)) ==
                                                         (RC_ITEM_SELECTED | RC_ITEM_FOCUSED);
    passOn();

    const bool bLeft = pEvent->button() == Qt::LeftButton;
    if (bLeft && bValidRow && m_pModel->HasCheckBoxes() && IsOnCheckBox(m_pModel->index(nRow, 0), pos))
        m_pModel->SetChecked(nRow, !m_pModel->IsChecked(nRow));
    const bool bIsChecked = bValidRow && m_pModel->IsChecked(nRow);
    const bool bCheckHandled = HandleCheckChange(nRow, bWasChecked, bIsChecked, nMessage);

    if (bLeft && m_bEditingEnabled && !bCheckHandled && !bWasEditing && bWasSelectedAndFocused &&
        IsEditableColumn(nColumn))
        BeginEdit(nRow, nColumn);
}

bool CReportCtrl::HandleCheckChange(int nRow, bool bWasChecked, bool bIsChecked, int nMessage)
{
    if (!m_pModel->IsRow(nRow) || m_nCheckMode == 0 || bWasChecked == bIsChecked)
        return false;
    if (m_nCheckMode == 3) {
        m_pModel->SetChecked(nRow, bWasChecked);
        return true;
    }
    if (m_nCheckMode == 2 && bIsChecked) {
        for (int r = 0; r < m_pModel->rowCount(); ++r) {
            if (r != nRow)
                m_pModel->SetChecked(r, false);
        }
    }
    selectionModel()->select(m_pModel->index(nRow, 0),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    SetFocusRow(nRow);
    emit ReportCheckSelect(nRow, nMessage);
    return true;
}
