#pragma once
#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QString>
#include <QRgb>
#include <vector>

#include "ui/controls/ReportTypes.h"

// Cell alignment for a column format (LVCFMT_*).
Qt::Alignment AlignmentOf(int nFormat);

// The rows and columns behind the report list: cell texts and images, the
// per-cell colours and the owner's record of each row, the check states.
class CReportModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The control's record of a row; the owner only ever sees ownerData.
    struct RowRecord
    {
        void* ownerData = nullptr;
        std::vector<QRgb> textColors;
        std::vector<QRgb> backColors;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    bool IsRow(int nRow) const { return nRow >= 0 && nRow < static_cast<int>(m_rows.size()); }
    bool IsColumn(int nColumn) const { return nColumn >= 0 && nColumn < static_cast<int>(m_columns.size()); }

    int InsertColumn(int nIndex, const QString& strTitle, int nFormat, QRgb textColor, QRgb backColor);
    QString ColumnTitle(int nColumn) const;
    int ColumnFormat(int nColumn) const;

    int InsertRow(int nIndex, const QString& strText, void* pOwnerData, int nImage, QRgb textColor, QRgb backColor);
    void RemoveRows(int nFirst, int nCount);
    void RemoveAllRows();

    const QString& CellText(int nRow, int nColumn) const;
    void SetCellText(int nRow, int nColumn, const QString& strText);
    int CellImage(int nRow, int nColumn) const;
    void SetCellImage(int nRow, int nColumn, int nImage);

    RowRecord& Record(int nRow) { return m_rows[nRow].record; }
    const RowRecord& Record(int nRow) const { return m_rows[nRow].record; }

    bool IsChecked(int nRow) const { return m_rows[nRow].bChecked; }
    void SetChecked(int nRow, bool bChecked);

    // Row r of first.. takes the contents of row order[r - first]; every row
    // keeps its place, its contents move.
    void PermuteRows(int nFirst, const std::vector<int>& order);

    // Announces colour changes made through Record() for a block of rows.
    void ColoursChanged(int nFirstRow, int nLastRow);

    void SetSmallImages(const QList<QIcon>& images) { m_smallImages = images; }
    const QList<QIcon>& SmallImages() const { return m_smallImages; }
    void SetHeaderImages(const QList<QIcon>& images) { m_headerImages = images; }
    const QList<QIcon>& HeaderImages() const { return m_headerImages; }
    void SetHeaderImage(int nColumn, int nImage);

    void SetCheckBoxes(bool bOn);
    bool HasCheckBoxes() const { return m_bCheckBoxes; }
    void SetInfoTips(bool bOn) { m_bInfoTips = bOn; }

private:
    struct Cell
    {
        QString text;
        int image = -1;
    };
    struct Row
    {
        std::vector<Cell> cells;
        RowRecord record;
        bool bChecked = false;
    };
    struct Column
    {
        QString title;
        int format = LVCFMT_LEFT;
        int headerImage = -1;
    };

    static QIcon ImageAt(const QList<QIcon>& images, int nImage);

    std::vector<Row> m_rows;
    std::vector<Column> m_columns;
    QList<QIcon> m_smallImages;
    QList<QIcon> m_headerImages;
    bool m_bCheckBoxes = false;
    bool m_bInfoTips = false;
};
