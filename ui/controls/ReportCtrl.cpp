#include "ui/controls/ReportCtrl.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <numeric>

#include "platform/Tick.h"
#include "ui/controls/ReportItemDelegate.h"
#include "ui/controls/ReportModel.h"
#include "ui/controls/ReportSort.h"

namespace {

const QRgb kInvalidRow = qRgb(255, 225, 241);
const QRgb kEvenTint = qRgb(241, 242, 247);
const QRgb kEven = qRgb(255, 255, 255);
const QRgb kOddTint = qRgb(227, 230, 242);
const QRgb kOdd = qRgb(244, 245, 252);

constexpr uint32_t kSelectionFlags = RC_ITEM_SELECTED | RC_ITEM_UNSELECTED;

}  // namespace

CReportCtrl::CReportCtrl(QWidget* pParent)
    : QTreeView(pParent), m_pModel(new CReportModel(this)), m_pDelegate(new CReportItemDelegate(this))
{
    setModel(m_pModel);
    setItemDelegate(m_pDelegate);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* pHeader = header();
    pHeader->setStretchLastSection(false);
    pHeader->setSectionsMovable(false);
    pHeader->setFirstSectionMovable(true);
    pHeader->setSectionsClickable(false);
    pHeader->setSortIndicatorShown(false);
    pHeader->setSortIndicator(-1, Qt::AscendingOrder);
    pHeader->viewport()->installEventFilter(this);
    connect(pHeader, &QHeaderView::sectionClicked, this, &CReportCtrl::OnColumnClick);
    connect(pHeader, &QHeaderView::sectionMoved, this, &CReportCtrl::OnSectionMoved);
    // A divider double click fits the column to its contents only, and never
    // touches a hidden column.
    disconnect(pHeader, SIGNAL(sectionHandleDoubleClicked(int)), this, SLOT(resizeColumnToContents(int)));
    connect(pHeader, &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int nColumn) { AutoSizeColumns(nColumn, false); });

    // Scrolling by the user discards an open edit; scrolling by the program
    // (keeping the current row in view) does not.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { EndEdit(false); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, [this] { EndEdit(false); });
}

CReportCtrl::~CReportCtrl() = default;

// ---------------------------------------------------------------- appearance

void CReportCtrl::SetShowHints(bool bShow)
{
    m_bShowHints = bShow;
    viewport()->update();
}

uint32_t CReportCtrl::SetExtendedStyle(uint32_t nStyle)
{
    const uint32_t nPrevious = m_nExtendedStyle;
    m_nExtendedStyle = nStyle | LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES;
    m_pModel->SetCheckBoxes((m_nExtendedStyle & LVS_EX_CHECKBOXES) != 0);
    m_pModel->SetInfoTips((m_nExtendedStyle & LVS_EX_INFOTIP) != 0);
    header()->setSectionsMovable((m_nExtendedStyle & LVS_EX_HEADERDRAGDROP) != 0);
    return nPrevious;
}

QList<QIcon> CReportCtrl::SetImageList(const QList<QIcon>& images)
{
    QList<QIcon> previous = m_pModel->SmallImages();
    m_pModel->SetSmallImages(images);
    viewport()->update();
    return previous;
}

QList<QIcon> CReportCtrl::SetHeaderImageList(const QList<QIcon>& images)
{
    QList<QIcon> previous = m_pModel->HeaderImages();
    m_pModel->SetHeaderImages(images);
    header()->viewport()->update();
    return previous;
}

void CReportCtrl::SetHeaderImage(int nColumn, int nImage)
{
    if (!m_pModel->IsColumn(nColumn))
        return;
    if (m_pModel->HeaderImages().isEmpty())
        m_pModel->SetHeaderImages(m_pModel->SmallImages());
    m_pModel->SetHeaderImage(nColumn, nImage);
}

bool CReportCtrl::SetSortable(bool bSortable)
{
    if (header()->isHidden())
        return false;
    header()->setSectionsClickable(bSortable);
    header()->setSortIndicatorShown(bSortable);
    header()->viewport()->update();
    return true;
}

CReportCtrl::SortArrow CReportCtrl::HeaderSortArrow(int nColumn) const
{
    if (nColumn < 0 || header()->sortIndicatorSection() != nColumn)
        return SortArrow::None;
    return header()->sortIndicatorOrder() == Qt::AscendingOrder ? SortArrow::Ascending : SortArrow::Descending;
}

QString CReportCtrl::HintText(uint32_t nTickCount)
{
    switch (nTickCount / 6000 % 4) {
    case 0:
        return QStringLiteral("Load your files by clicking the \"Add Files\" toolbar button");
    case 1:
        return QStringLiteral(
            "Right click items in the file list, then click the floating popup menu to perform various file operations");
    case 2:
        return QStringLiteral("Click the column header to sort the file list");
    default:
        return QStringLiteral("Right click the column header, then click the floating popup menu to show/hide columns");
    }
}

void CReportCtrl::paintEvent(QPaintEvent* pEvent)
{
    QTreeView::paintEvent(pEvent);
    if (m_bShowHints && m_pModel->rowCount() == 0)
        PaintHints();
}

void CReportCtrl::PaintHints()
{
    // The viewport already starts below the header.
    QPainter painter(viewport());
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPointSizeF(15.6);
    painter.setFont(font);
    const QString strText = HintText(GetTickCount());
    QRect area = viewport()->rect();
    area.setTop(area.top() + area.height() / 2 - painter.fontMetrics().height());
    painter.setPen(QColor(106, 106, 255));
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(QColor(255, 255, 255));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip, strText);
}

// ------------------------------------------------------------------- columns

int CReportCtrl::GetColumnCount() const
{
    return m_pModel->columnCount();
}

int CReportCtrl::InsertColumn(int nIndex, const QString& strTitle, int nFormat, int nWidth)
{
    EndEdit(true);
    const QPalette pal = palette();
    const int nColumn = m_pModel->InsertColumn(nIndex, strTitle, nFormat, pal.color(QPalette::Text).rgb(),
                                               pal.color(QPalette::Base).rgb());
    m_columnStates.insert(m_columnStates.begin() + nColumn, ColumnState{true, std::max(nWidth, 0), -1});
    if (nWidth >= 0)
        header()->resizeSection(nColumn, nWidth);
    return nColumn;
}

bool CReportCtrl::IsColumnVisible(int nColumn) const
{
    return m_pModel->IsColumn(nColumn) && m_columnStates[nColumn].visible;
}

ColumnState CReportCtrl::GetColumnState(int nColumn) const
{
    return m_pModel->IsColumn(nColumn) ? m_columnStates[nColumn] : ColumnState{};
}

int CReportCtrl::GetColumnWidth(int nColumn) const
{
    return IsColumnVisible(nColumn) ? header()->sectionSize(nColumn) : 0;
}

bool CReportCtrl::SetColumnWidth(int nColumn, int nWidth)
{
    if (!IsColumnVisible(nColumn))
        return false;
    header()->resizeSection(nColumn, std::max(nWidth, 0));
    return true;
}

bool CReportCtrl::ShowColumn(int nColumn, bool bShow)
{
    if (!m_pModel->IsColumn(nColumn))
        return false;
    ColumnState& state = m_columnStates[nColumn];
    // Hiding twice would lose the width to give back; showing a shown column
    // would reset its width.
    if (state.visible == bShow)
        return true;

    setUpdatesEnabled(false);
    const int nCount = GetColumnCount();
    std::vector<int> order(nCount);
    for (int v = 0; v < nCount; ++v)
        order[v] = header()->logicalIndex(v);

    int nPlace = -1;
    if (bShow) {
        // Travel right past hidden columns, and past visible ones beyond the
        // saved bound (always, for a column hidden here).
        for (int i = 0; i < nCount; ++i) {
            if (nPlace < 0) {
                if (order[i] == nColumn)
                    nPlace = i;
                continue;
            }
            if (i > state.savedPosition && m_columnStates[order[i]].visible)
                continue;
            std::swap(order[nPlace], order[i]);
            nPlace = i;
        }
    } else {
        // Hidden columns gather at the left end.
        for (int i = nCount - 1; i >= 0; --i) {
            if (nPlace < 0) {
                if (order[i] == nColumn) {
                    state.savedPosition = nCount;
                    nPlace = i;
                }
                continue;
            }
            std::swap(order[i], order[nPlace]);
            nPlace = i;
        }
    }
    ApplyDisplayOrder(order);

    if (bShow) {
        state.visible = true;
        header()->showSection(nColumn);
        header()->resizeSection(nColumn, state.savedWidth & 0xFFFF);
    } else {
        const int nWidth = header()->sectionSize(nColumn);
        header()->hideSection(nColumn);
        state.visible = false;
        state.savedWidth = nWidth;
    }
    setUpdatesEnabled(true);
    return true;
}

void CReportCtrl::ApplyDisplayOrder(const std::vector<int>& order)
{
    m_bMovingSections = true;
    for (int v = 0; v < static_cast<int>(order.size()); ++v) {
        const int nFrom = header()->visualIndex(order[v]);
        if (nFrom != v)
            header()->moveSection(nFrom, v);
    }
    m_bMovingSections = false;
}

void CReportCtrl::OnSectionMoved(int nLogical, int, int nNewVisual)
{
    if (m_bMovingSections)
        return;
    EndEdit(false);
    // A column dropped among the hidden ones lands at the leftmost visible
    // place instead, so hidden columns stay at the left.
    int nLeftmostVisible = GetColumnCount();
    for (int v = 0; v < GetColumnCount(); ++v) {
        const int nColumn = header()->logicalIndex(v);
        if (nColumn != nLogical && m_columnStates[nColumn].visible) {
            nLeftmostVisible = v;
            break;
        }
    }
    const int nTarget = nLeftmostVisible - 1;
    if (nNewVisual < nTarget) {
        m_bMovingSections = true;
        header()->moveSection(nNewVisual, nTarget);
        m_bMovingSections = false;
    }
}

bool CReportCtrl::AutoSizeColumns(int nColumn, bool bUseHeader)
{
    const int nFirst = nColumn < 0 ? 0 : nColumn;
    const int nLast = nColumn < 0 ? GetColumnCount() - 1 : nColumn;
    for (int c = nFirst; c <= nLast; ++c) {
        if (!IsColumnVisible(c))
            continue;
        int nWidth = std::max(sizeHintForColumn(c), header()->minimumSectionSize());
        if (bUseHeader)
            nWidth = std::max(nWidth, header()->sectionSizeHint(c));
        SetColumnWidth(c, nWidth);
    }
    return true;
}

bool CReportCtrl::EnsureColumnVisible(int nColumn, bool bPartialOK)
{
    if (!m_pModel->IsColumn(nColumn))
        return false;
    const int nLeft = header()->sectionPosition(nColumn);
    const int nRight = nLeft + GetColumnWidth(nColumn);
    const int nScroll = horizontalScrollBar()->value();
    const int nClientRight = viewport()->width();
    if (bPartialOK && nLeft - nScroll < nClientRight && nRight - nScroll > 0)
        return true;
    int nDelta = nLeft - nScroll;
    if (nRight - nLeft <= nClientRight && nLeft - nScroll >= 0) {
        if (nRight - nScroll <= nClientRight)
            return true;
        nDelta = nRight - nScroll - nClientRight;
    }
    horizontalScrollBar()->setValue(nScroll + nDelta);
    return true;
}

bool CReportCtrl::IsOnSectionDivider(const QPoint& pos) const
{
    const QHeaderView* pHeader = header();
    const int nColumn = pHeader->logicalIndexAt(pos.x());
    if (nColumn < 0)
        return false;
    const int nGrip = pHeader->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, pHeader);
    const int nLeft = pHeader->sectionViewportPosition(nColumn);
    const int nRight = nLeft + pHeader->sectionSize(nColumn);
    if (nRight - pos.x() <= nGrip)
        return true;
    // The left edge is the divider of the visible column before it, if any.
    for (int v = pHeader->visualIndex(nColumn) - 1; v >= 0; --v) {
        if (!pHeader->isSectionHidden(pHeader->logicalIndex(v)))
            return pos.x() - nLeft < nGrip;
    }
    return false;
}

void CReportCtrl::FillHeaderMenu(QMenu& menu) const
{
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (c == 3)
            menu.addSeparator();
        QAction* pAction = menu.addAction(m_pModel->ColumnTitle(c).left(511));
        pAction->setData(c);
        pAction->setCheckable(true);
        pAction->setChecked(IsColumnVisible(c));
        pAction->setEnabled(c > 1);
    }
}

void CReportCtrl::OnHeaderContextMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    FillHeaderMenu(menu);
    if (QAction* pChosen = menu.exec(globalPos)) {
        const int nColumn = pChosen->data().toInt();
        ShowColumn(nColumn, !IsColumnVisible(nColumn));
    }
}

// ---------------------------------------------------------------------- rows

int CReportCtrl::InsertItem(int nIndex, const QString& strText, void* pOwnerData, int nImage)
{
    EndEdit(true);
    const QPalette pal = palette();
    return m_pModel->InsertRow(nIndex, strText, pOwnerData, nImage, pal.color(QPalette::Text).rgb(),
                               pal.color(QPalette::Base).rgb());
}

void CReportCtrl::DeleteItem(int nRow, bool bSelectNext)
{
    EndEdit(nRow != m_nEditRow);
    if (!m_pModel->IsRow(nRow))
        return;
    if (bSelectNext && m_pModel->IsRow(nRow + 1))
        SetItemStates(nRow + 1, RC_ITEM_SELECTED);
    m_pModel->RemoveRows(nRow, 1);
}

int CReportCtrl::DeleteItems(uint32_t nFilter)
{
    EndEdit(false);
    setUpdatesEnabled(false);
    int nDeleted = 0;
    if (nFilter & RC_ITEM_ALL) {
        nDeleted = m_pModel->rowCount();
        m_pModel->RemoveAllRows();
    } else {
        const std::vector<char> selected = SelectedRowMask();
        std::vector<char> doomed(selected.size());
        for (int r = 0; r < m_pModel->rowCount(); ++r)
            doomed[r] = Matches(nFilter, StatesOf(r, selected[r]));
        // Remove runs from the bottom so the indices above stay valid.
        for (int r = m_pModel->rowCount() - 1; r >= 0;) {
            if (!doomed[r]) {
                --r;
                continue;
            }
            int nTop = r;
            while (nTop > 0 && doomed[nTop - 1])
                --nTop;
            m_pModel->RemoveRows(nTop, r - nTop + 1);
            nDeleted += r - nTop + 1;
            r = nTop - 1;
        }
    }
    setUpdatesEnabled(true);
    return nDeleted;
}

QString CReportCtrl::GetItemText(int nRow, int nColumn) const
{
    return m_pModel->CellText(nRow, nColumn);
}

bool CReportCtrl::SetItemText(int nRow, int nColumn, const QString& strText)
{
    EndEdit(true);
    if (!m_pModel->IsRow(nRow) || !m_pModel->IsColumn(nColumn))
        return false;
    m_pModel->SetCellText(nRow, nColumn, strText);
    return true;
}

bool CReportCtrl::SetItemNumber(int nRow, int nColumn, double dValue, int nDecimals)
{
    QString strText;
    if (nDecimals >= 0) {
        strText = QString::asprintf("%.*f", nDecimals, dValue);
    } else {
        strText = QString::asprintf("%f", dValue);
        while (strText.endsWith(u'0'))
            strText.chop(1);
        while (strText.endsWith(u'.'))
            strText.chop(1);
    }
    return SetItemText(nRow, nColumn, strText);
}

bool CReportCtrl::SetItemImage(int nRow, int nColumn, int nImage)
{
    if (!m_pModel->IsRow(nRow) || !m_pModel->IsColumn(nColumn))
        return false;
    m_pModel->SetCellImage(nRow, nColumn, nImage);
    return true;
}

int CReportCtrl::GetItemImage(int nRow, int nColumn) const
{
    return m_pModel->CellImage(nRow, nColumn);
}

void CReportCtrl::SetItemData(int nRow, void* pOwnerData)
{
    if (m_pModel->IsRow(nRow))
        m_pModel->Record(nRow).ownerData = pOwnerData;
}

void* CReportCtrl::GetItemData(int nRow) const
{
    return m_pModel->IsRow(nRow) ? m_pModel->Record(nRow).ownerData : nullptr;
}

void CReportCtrl::SetItemTextColor(int nRow, int nColumn, QColor color, bool bRedraw)
{
    SetCellColours(nRow, nColumn, color, true, bRedraw);
}

void CReportCtrl::SetItemBkColor(int nRow, int nColumn, QColor color, bool bRedraw)
{
    SetCellColours(nRow, nColumn, color, false, bRedraw);
}

QColor CReportCtrl::GetItemTextColor(int nRow, int nColumn) const
{
    if (!m_pModel->IsRow(nRow) || !m_pModel->IsColumn(nColumn))
        return {};
    return QColor::fromRgb(m_pModel->Record(nRow).textColors[nColumn]);
}

QColor CReportCtrl::GetItemBkColor(int nRow, int nColumn) const
{
    if (!m_pModel->IsRow(nRow) || !m_pModel->IsColumn(nColumn))
        return {};
    return QColor::fromRgb(m_pModel->Record(nRow).backColors[nColumn]);
}

void CReportCtrl::SetCellColours(int nRow, int nColumn, QColor color, bool bText, bool bRedraw)
{
    if (!color.isValid())
        color = palette().color(bText ? QPalette::Text : QPalette::Base);
    const QRgb rgb = color.rgb();
    const bool bAllRows = !m_pModel->IsRow(nRow);
    const bool bAllColumns = !m_pModel->IsColumn(nColumn);
    const int nFirstRow = bAllRows ? 0 : nRow;
    const int nLastRow = bAllRows ? m_pModel->rowCount() - 1 : nRow;
    for (int r = nFirstRow; r <= nLastRow; ++r) {
        std::vector<QRgb>& colors = bText ? m_pModel->Record(r).textColors : m_pModel->Record(r).backColors;
        if (bAllColumns)
            std::fill(colors.begin(), colors.end(), rgb);
        else
            colors[nColumn] = rgb;
    }
    if (bRedraw)
        m_pModel->ColoursChanged(nFirstRow, nLastRow);
}

// -------------------------------------------------------------------- states

bool CReportCtrl::Matches(uint32_t nFilter, uint32_t nStates)
{
    if (nFilter & RC_ITEM_ALL)
        return true;
    return nFilter != 0 && (nStates & nFilter) == nFilter;
}

uint32_t CReportCtrl::StatesOf(int nRow, bool bSelected) const
{
    uint32_t nStates = bSelected ? RC_ITEM_SELECTED : RC_ITEM_UNSELECTED;
    nStates |= m_pModel->HasCheckBoxes() && m_pModel->IsChecked(nRow) ? RC_ITEM_CHECKED : RC_ITEM_UNCHECKED;
    nStates |= currentIndex().isValid() && currentIndex().row() == nRow ? RC_ITEM_FOCUSED : RC_ITEM_UNFOCUSED;
    return nStates;
}

uint32_t CReportCtrl::GetItemStates(int nRow) const
{
    if (!m_pModel->IsRow(nRow))
        return RC_ITEM_NONE;
    return StatesOf(nRow, selectionModel()->isRowSelected(nRow, {}));
}

bool CReportCtrl::SetItemStates(int nRow, uint32_t nFlags)
{
    if (!m_pModel->IsRow(nRow) || nFlags == 0)
        return false;
    const QModelIndex index = m_pModel->index(nRow, 0);
    if (nFlags & RC_ITEM_SELECTED)
        selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (nFlags & RC_ITEM_UNSELECTED)
        selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    if (nFlags & RC_ITEM_CHECKED) {
        m_pModel->SetChecked(nRow, true);
        if (m_nCheckMode == 2)
            UncheckRowsAfter(nRow);
    }
    if (nFlags & RC_ITEM_UNCHECKED)
        m_pModel->SetChecked(nRow, false);
    if (nFlags & RC_ITEM_FOCUSED)
        SetFocusRow(nRow);
    if ((nFlags & RC_ITEM_UNFOCUSED) && currentIndex().row() == nRow)
        selectionModel()->clearCurrentIndex();
    return true;
}

int CReportCtrl::SetAllItemStates(uint32_t nFilter, uint32_t nFlags)
{
    if (nFilter == 0 || nFlags == 0)
        return 0;
    // Selection changes are gathered and applied in one step: a row's own
    // change never alters whether another row matches.
    std::vector<char> selected = SelectedRowMask();
    int nChanged = 0;
    for (int r = 0; r < m_pModel->rowCount(); ++r) {
        if (!Matches(nFilter, StatesOf(r, selected[r])))
            continue;
        if (nFlags & RC_ITEM_SELECTED)
            selected[r] = 1;
        if (nFlags & RC_ITEM_UNSELECTED)
            selected[r] = 0;
        if (nFlags & ~kSelectionFlags)
            SetItemStates(r, nFlags & ~kSelectionFlags);
        ++nChanged;
    }
    if (nFlags & kSelectionFlags)
        SelectRows(selected);
    return nChanged;
}

int CReportCtrl::GetItemCount(uint32_t nFilter) const
{
    if (nFilter & RC_ITEM_ALL)
        return m_pModel->rowCount();
    const std::vector<char> selected = SelectedRowMask();
    int nCount = 0;
    for (int r = 0; r < m_pModel->rowCount(); ++r)
        nCount += Matches(nFilter, StatesOf(r, selected[r]));
    return nCount;
}

int CReportCtrl::GetNextItem(uint32_t nFilter, int nStart) const
{
    for (int r = std::max(nStart + 1, 0); r < m_pModel->rowCount(); ++r) {
        if (Matches(nFilter, GetItemStates(r)))
            return r;
    }
    return -1;
}

std::vector<char> CReportCtrl::SelectedRowMask() const
{
    std::vector<char> mask(m_pModel->rowCount(), 0);
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            mask[r] = 1;
    }
    return mask;
}

void CReportCtrl::SelectRows(const std::vector<char>& mask)
{
    QItemSelection selection;
    const int nLastColumn = std::max(GetColumnCount() - 1, 0);
    for (int r = 0; r < static_cast<int>(mask.size());) {
        if (!mask[r]) {
            ++r;
            continue;
        }
        int nEnd = r;
        while (nEnd + 1 < static_cast<int>(mask.size()) && mask[nEnd + 1])
            ++nEnd;
        selection.append(QItemSelectionRange(m_pModel->index(r, 0), m_pModel->index(nEnd, nLastColumn)));
        r = nEnd + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CReportCtrl::SetFocusRow(int nRow)
{
    // The focus mark alone never scrolls the list.
    const bool bAutoScroll = hasAutoScroll();
    setAutoScroll(false);
    const int nColumn = std::max(currentIndex().column(), 0);
    selectionModel()->setCurrentIndex(m_pModel->index(nRow, nColumn), QItemSelectionModel::NoUpdate);
    setAutoScroll(bAutoScroll);
}

void CReportCtrl::UncheckRowsAfter(int nRow)
{
    for (int r = nRow + 1; r < m_pModel->rowCount(); ++r)
        m_pModel->SetChecked(r, false);
}

// ------------------------------------------------------------------- sorting

void CReportCtrl::OnColumnClick(int nColumn)
{
    int nAscending = 1;
    auto it = std::find_if(m_sortKeys.begin(), m_sortKeys.end(),
                           [nColumn](const ColumnSortInfo& key) { return key.column == nColumn; });
    if (it != m_sortKeys.end()) {
        // The primary key flips; a former secondary key keeps its direction.
        const bool bAscending = it->ascending != 0;
        nAscending = (it == m_sortKeys.begin() ? !bAscending : bAscending) ? 1 : 0;
        m_sortKeys.erase(it);
    }
    m_sortKeys.insert(m_sortKeys.begin(), ColumnSortInfo{nColumn, nAscending});
    if (m_sortKeys.size() > kMaxSortKeys)
        m_sortKeys.resize(kMaxSortKeys);
    if (nColumn < GetColumnCount() && !header()->isHidden() && header()->sectionsClickable())
        SortItems(0, m_pModel->rowCount() - 1, true);
}

void CReportCtrl::SortItems(int nFirst, int nLast, bool bTintSortColumn)
{
    EndEdit(true);  // rows move under the editor
    if (m_sortKeys.empty()) {
        RecolourRows(bTintSortColumn);
        return;
    }
    g_bListBusy = true;
    setUpdatesEnabled(false);
    const ColumnSortInfo primary = m_sortKeys[0];
    if (0 <= nFirst && nFirst < nLast && nLast < m_pModel->rowCount())
        SortRange(nFirst, nLast);
    header()->setSortIndicator(primary.column, primary.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    RecolourRows(bTintSortColumn);
    g_bListBusy = false;
    emit ReportSorted(primary.column, primary.ascending != 0);
}

void CReportCtrl::SortRange(int nFirst, int nLast)
{
    std::vector<int> order(nLast - nFirst + 1);
    std::iota(order.begin(), order.end(), nFirst);
    CReportRowComparer(*m_pModel, m_sortKeys, m_fnRowReader).SortRowIndices(order);

    // The rows' contents move; their selection and focus mark move with them.
    const std::vector<char> selected = SelectedRowMask();
    const int nFocused = currentIndex().isValid() ? currentIndex().row() : -1;
    m_pModel->PermuteRows(nFirst, order);
    std::vector<char> moved = selected;
    for (size_t k = 0; k < order.size(); ++k) {
        moved[nFirst + k] = selected[order[k]];
        if (order[k] == nFocused)
            SetFocusRow(nFirst + static_cast<int>(k));
    }
    SelectRows(moved);
    if (m_nCheckMode == 2) {
        for (int r = nFirst; r <= nLast; ++r) {
            if (m_pModel->IsChecked(r)) {
                UncheckRowsAfter(nLast);
                break;
            }
        }
    }
}

void CReportCtrl::RecolourRows(bool bTintSortColumn)
{
    setUpdatesEnabled(false);
    const int nSortColumn = m_sortKeys.empty() ? -1 : m_sortKeys[0].column;
    for (int r = 0; r < m_pModel->rowCount(); ++r) {
        CReportModel::RowRecord& record = m_pModel->Record(r);
        const bool bInvalid = m_fnRowReader && m_fnRowReader(record.ownerData).invalid;
        const bool bOdd = r % 2 != 0;
        for (int c = 0; c < static_cast<int>(record.backColors.size()); ++c) {
            const bool bTint = bTintSortColumn && c == nSortColumn;
            if (bInvalid)
                record.backColors[c] = kInvalidRow;
            else if (bOdd)
                record.backColors[c] = bTint ? kOddTint : kOdd;
            else
                record.backColors[c] = bTint ? kEvenTint : kEven;
        }
    }
    setUpdatesEnabled(true);
    viewport()->repaint();
}

// ---------------------------------------------------------- persisted forms

namespace {

void AppendInt32(std::vector<uint8_t>& data, int32_t nValue)
{
    const uint32_t u = static_cast<uint32_t>(nValue);
    for (int nShift = 0; nShift < 32; nShift += 8)
        data.push_back(static_cast<uint8_t>(u >> nShift));
}

int32_t ReadInt32(const std::vector<uint8_t>& data, size_t nOffset)
{
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<uint32_t>(data[nOffset + i]) << (8 * i);
    return static_cast<int32_t>(u);
}

}  // namespace

std::vector<uint8_t> CReportCtrl::GetColumnRecords() const
{
    std::vector<uint8_t> data;
    for (int c = 0; c < GetColumnCount(); ++c) {
        const bool bVisible = m_columnStates[c].visible;
        AppendInt32(data, bVisible ? 1 : 0);
        AppendInt32(data, bVisible ? GetColumnWidth(c) : m_columnStates[c].savedWidth);
    }
    return data;
}

void CReportCtrl::ApplyColumnRecords(const std::vector<uint8_t>& data)
{
    const int nRecords = std::min(static_cast<int>(data.size() / 8), GetColumnCount());
    for (int c = 0; c < nRecords; ++c)
        SetColumnWidth(c, std::clamp(ReadInt32(data, c * 8 + 4), 0, 0xFFFF));
    // Name and Path cannot be shown again from the menu, so they stay shown.
    for (int c = 2; c < nRecords; ++c) {
        if (ReadInt32(data, c * 8) == 0)
            ShowColumn(c, false);
    }
}

std::vector<uint8_t> CReportCtrl::GetSortKeyRecords() const
{
    std::vector<uint8_t> data;
    for (const ColumnSortInfo& key : m_sortKeys) {
        AppendInt32(data, key.column);
        AppendInt32(data, key.ascending);
    }
    return data;
}

void CReportCtrl::AppendSortKeyRecords(const std::vector<uint8_t>& data)
{
    for (size_t nOffset = 0; nOffset + 8 <= data.size(); nOffset += 8) {
        const int32_t nColumn = ReadInt32(data, nOffset);
        if (m_pModel->IsColumn(nColumn))
            m_sortKeys.push_back(ColumnSortInfo{nColumn, ReadInt32(data, nOffset + 4) != 0 ? 1 : 0});
    }
}
