#include "ui/controls/ReportModel.h"

#include <QColor>
#include <algorithm>

namespace {

const QString g_strEmpty;

}  // namespace

int CReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QIcon CReportModel::ImageAt(const QList<QIcon>& images, int nImage)
{
    return nImage >= 0 && nImage < images.size() ? images[nImage] : QIcon();
}

QVariant CReportModel::data(const QModelIndex& index, int nRole) const
{
    if (!index.isValid() || !IsRow(index.row()) || !IsColumn(index.column()))
        return {};
    const Row& row = m_rows[index.row()];
    const Cell& cell = row.cells[index.column()];
    switch (nRole) {
    case Qt::DisplayRole:
        return cell.text;
    case Qt::ToolTipRole:
        return m_bInfoTips && !cell.text.isEmpty() ? QVariant(cell.text) : QVariant();
    case Qt::DecorationRole:
        return cell.image >= 0 && cell.image < m_smallImages.size() ? QVariant(m_smallImages[cell.image]) : QVariant();
    case Qt::ForegroundRole:
        return QColor::fromRgb(row.record.textColors[index.column()]);
    case Qt::BackgroundRole:
        return QColor::fromRgb(row.record.backColors[index.column()]);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentOf(m_columns[index.column()].format));
    case Qt::CheckStateRole:
        if (m_bCheckBoxes && index.column() == 0)
            return row.bChecked ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

QVariant CReportModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (orientation != Qt::Horizontal || !IsColumn(nSection))
        return {};
    const Column& column = m_columns[nSection];
    switch (nRole) {
    case Qt::DisplayRole:
        return column.title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentOf(column.format));
    case Qt::DecorationRole: {
        QIcon icon = ImageAt(m_headerImages, column.headerImage);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    default:
        return {};
    }
}

Qt::ItemFlags CReportModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_bCheckBoxes && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

int CReportModel::InsertColumn(int nIndex, const QString& strTitle, int nFormat, QRgb textColor, QRgb backColor)
{
    nIndex = std::clamp(nIndex, 0, columnCount());
    beginInsertColumns({}, nIndex, nIndex);
    m_columns.insert(m_columns.begin() + nIndex, Column{strTitle, nFormat, -1});
    for (Row& row : m_rows) {
        row.cells.insert(row.cells.begin() + nIndex, Cell{});
        row.record.textColors.insert(row.record.textColors.begin() + nIndex, textColor);
        row.record.backColors.insert(row.record.backColors.begin() + nIndex, backColor);
    }
    endInsertColumns();
    return nIndex;
}

QString CReportModel::ColumnTitle(int nColumn) const
{
    return IsColumn(nColumn) ? m_columns[nColumn].title : QString();
}

int CReportModel::ColumnFormat(int nColumn) const
{
    return IsColumn(nColumn) ? m_columns[nColumn].format : LVCFMT_LEFT;
}

int CReportModel::InsertRow(int nIndex, const QString& strText, void* pOwnerData, int nImage, QRgb textColor,
                            QRgb backColor)
{
    nIndex = std::clamp(nIndex, 0, rowCount());
    const size_t nColumns = m_columns.size();
    Row row;
    row.cells.resize(nColumns);
    if (nColumns > 0) {
        row.cells[0].text = strText;
        row.cells[0].image = nImage;
    }
    row.record.ownerData = pOwnerData;
    row.record.textColors.assign(nColumns, textColor);
    row.record.backColors.assign(nColumns, backColor);
    beginInsertRows({}, nIndex, nIndex);
    m_rows.insert(m_rows.begin() + nIndex, std::move(row));
    endInsertRows();
    return nIndex;
}

void CReportModel::RemoveRows(int nFirst, int nCount)
{
    if (nCount <= 0)
        return;
    beginRemoveRows({}, nFirst, nFirst + nCount - 1);
    m_rows.erase(m_rows.begin() + nFirst, m_rows.begin() + nFirst + nCount);
    endRemoveRows();
}

void CReportModel::RemoveAllRows()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

const QString& CReportModel::CellText(int nRow, int nColumn) const
{
    if (!IsRow(nRow) || !IsColumn(nColumn))
        return g_strEmpty;
    return m_rows[nRow].cells[nColumn].text;
}

void CReportModel::SetCellText(int nRow, int nColumn, const QString& strText)
{
    m_rows[nRow].cells[nColumn].text = strText;
    const QModelIndex cell = index(nRow, nColumn);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::ToolTipRole});
}

int CReportModel::CellImage(int nRow, int nColumn) const
{
    return IsRow(nRow) && IsColumn(nColumn) ? m_rows[nRow].cells[nColumn].image : -1;
}

void CReportModel::SetCellImage(int nRow, int nColumn, int nImage)
{
    m_rows[nRow].cells[nColumn].image = nImage;
    const QModelIndex cell = index(nRow, nColumn);
    emit dataChanged(cell, cell, {Qt::DecorationRole});
}

void CReportModel::SetChecked(int nRow, bool bChecked)
{
    if (m_rows[nRow].bChecked == bChecked)
        return;
    m_rows[nRow].bChecked = bChecked;
    const QModelIndex cell = index(nRow, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void CReportModel::PermuteRows(int nFirst, const std::vector<int>& order)
{
    if (order.empty())
        return;
    std::vector<Row> sorted;
    sorted.reserve(order.size());
    for (int nRow : order)
        sorted.push_back(std::move(m_rows[nRow]));
    std::move(sorted.begin(), sorted.end(), m_rows.begin() + nFirst);
    emit dataChanged(index(nFirst, 0), index(nFirst + static_cast<int>(order.size()) - 1, columnCount() - 1));
}

void CReportModel::ColoursChanged(int nFirstRow, int nLastRow)
{
    if (nFirstRow > nLastRow || columnCount() == 0)
        return;
    emit dataChanged(index(nFirstRow, 0), index(nLastRow, columnCount() - 1),
                     {Qt::ForegroundRole, Qt::BackgroundRole});
}

void CReportModel::SetHeaderImage(int nColumn, int nImage)
{
    m_columns[nColumn].headerImage = nImage;
    emit headerDataChanged(Qt::Horizontal, nColumn, nColumn);
}

void CReportModel::SetCheckBoxes(bool bOn)
{
    if (m_bCheckBoxes == bOn)
        return;
    m_bCheckBoxes = bOn;
    if (!m_rows.empty() && !m_columns.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

Qt::Alignment AlignmentOf(int nFormat)
{
    switch (nFormat) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
