#pragma once
#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>
#include <QTreeView>
#include <cstdint>
#include <vector>

#include "ui/controls/ReportTypes.h"

class CReportModel;
class CReportItemDelegate;
class QLineEdit;
class QMenu;

// The report list: rows of cells under a column header, sorted by up to six
// column keys, with per-cell colours, columns hidden and shown from the
// header's menu, an in-place cell editor and hint texts in the empty list.
class CReportCtrl : public QTreeView
{
    Q_OBJECT
public:
    enum class SortArrow
    {
        None,
        Ascending,
        Descending,
    };

    static constexpr size_t kMaxSortKeys = 6;

    explicit CReportCtrl(QWidget* pParent = nullptr);
    ~CReportCtrl() override;

    // What the colouring and the numeric sort columns read from the owner's
    // record of each row.
    void SetRowReader(ReportRowReader fnReader) { m_fnRowReader = std::move(fnReader); }

    void SetShowHints(bool bShow);
    uint32_t SetExtendedStyle(uint32_t nStyle);
    QList<QIcon> SetImageList(const QList<QIcon>& images);
    QList<QIcon> SetHeaderImageList(const QList<QIcon>& images);
    void SetHeaderImage(int nColumn, int nImage);
    bool SetSortable(bool bSortable);
    // The arrow the header shows on a column after the last sort.
    SortArrow HeaderSortArrow(int nColumn) const;

    // Columns
    int GetColumnCount() const;
    int InsertColumn(int nIndex, const QString& strTitle, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    bool ShowColumn(int nColumn, bool bShow);
    bool IsColumnVisible(int nColumn) const;
    ColumnState GetColumnState(int nColumn) const;
    int GetColumnWidth(int nColumn) const;
    // Refused (false) for a hidden column.
    bool SetColumnWidth(int nColumn, int nWidth);
    bool AutoSizeColumns(int nColumn = -1, bool bUseHeader = true);
    bool EnsureColumnVisible(int nColumn, bool bPartialOK);

    // Rows
    int InsertItem(int nIndex, const QString& strText, void* pOwnerData = nullptr, int nImage = -1);
    void DeleteItem(int nRow, bool bSelectNext = false);
    int DeleteItems(uint32_t nFilter);
    QString GetItemText(int nRow, int nColumn) const;
    bool SetItemText(int nRow, int nColumn, const QString& strText);
    bool SetItemNumber(int nRow, int nColumn, double dValue, int nDecimals = -1);
    bool SetItemImage(int nRow, int nColumn, int nImage);
    int GetItemImage(int nRow, int nColumn) const;
    void SetItemData(int nRow, void* pOwnerData);
    void* GetItemData(int nRow) const;
    // An invalid colour stands for the system's text or window colour; a row
    // or column outside the list stands for all of them.
    void SetItemTextColor(int nRow = -1, int nColumn = -1, QColor color = {}, bool bRedraw = true);
    void SetItemBkColor(int nRow = -1, int nColumn = -1, QColor color = {}, bool bRedraw = true);
    QColor GetItemTextColor(int nRow, int nColumn) const;
    QColor GetItemBkColor(int nRow, int nColumn) const;

    // Row states (ItemStateFlags)
    uint32_t GetItemStates(int nRow) const;
    bool SetItemStates(int nRow, uint32_t nFlags);
    int SetAllItemStates(uint32_t nFilter, uint32_t nFlags);
    int GetItemCount(uint32_t nFilter = RC_ITEM_ALL) const;
    int GetNextItem(uint32_t nFilter, int nStart = -1) const;
    void SetCheckMode(int nMode) { m_nCheckMode = nMode; }

    // Sorting. The owner reads and writes the keys directly.
    std::vector<ColumnSortInfo>& SortKeys() { return m_sortKeys; }
    const std::vector<ColumnSortInfo>& SortKeys() const { return m_sortKeys; }
    void SortItems(int nFirst, int nLast, bool bTintSortColumn);
    void RecolourRows(bool bTintSortColumn);

    // In-place editor
    bool AddEditableColumn(int nColumn);
    bool IsEditableColumn(int nColumn) const;
    void EnableEditing(bool bEnable);
    bool BeginEdit(int nRow, int nColumn);
    bool EndEdit(bool bCommit);
    bool IsEditing() const;
    int EditRow() const { return m_nEditRow; }
    int EditColumn() const { return m_nEditColumn; }
    QLineEdit* Editor() const { return m_pEditor; }

    // Persisted forms: 8-byte records of two little-endian signed 32-bit values.
    std::vector<uint8_t> GetColumnRecords() const;
    // Widths for the existing columns, then hides those stored as hidden.
    void ApplyColumnRecords(const std::vector<uint8_t>& data);
    std::vector<uint8_t> GetSortKeyRecords() const;
    // Appends the stored keys, skipping those of columns that do not exist.
    void AppendSortKeyRecords(const std::vector<uint8_t>& data);

    // The hint shown in the empty list at a given tick count.
    static QString HintText(uint32_t nTickCount);

    // Text of a name cell when editing began there; the owner reads it as the
    // old file name.
    QString m_strPreEditText;

signals:
    // Emitted after every SortItems, once the rows show their new order.
    void ReportSorted(int nColumn, bool bAscending);
    // A committed edit changed the text of the cell.
    void ReportEdited(int nRow, int nColumn);
    // A click changed a row's check state (nMouseMessage: RC_MSG_*).
    void ReportCheckSelect(int nRow, int nMouseMessage);

protected:
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void OnColumnClick(int nColumn);
    void OnSectionMoved(int nLogical, int nOldVisual, int nNewVisual);
    void OnHeaderContextMenu(const QPoint& globalPos);
    bool IsOnSectionDivider(const QPoint& pos) const;
    void FillHeaderMenu(QMenu& menu) const;
    void ApplyDisplayOrder(const std::vector<int>& order);

    void SetCellColours(int nRow, int nColumn, QColor color, bool bText, bool bRedraw);
    void SortRange(int nFirst, int nLast);
    std::vector<char> SelectedRowMask() const;
    void SelectRows(const std::vector<char>& mask);
    uint32_t StatesOf(int nRow, bool bSelected) const;
    static bool Matches(uint32_t nFilter, uint32_t nStates);
    void SetFocusRow(int nRow);
    void UncheckRowsAfter(int nRow);
    void PaintHints();

    // Editor and clicks
    bool PreTranslateKey(QKeyEvent* pEvent);
    void MoveEditorToRow(int nRow);
    void HandleClick(QMouseEvent* pEvent, int nMessage, bool bDoubleClick);
    bool HandleCheckChange(int nRow, bool bWasChecked, bool bIsChecked, int nMessage);
    bool IsOnCheckBox(const QModelIndex& index, const QPoint& pos) const;
    QRect EditorRect() const;

    CReportModel* m_pModel = nullptr;
    CReportItemDelegate* m_pDelegate = nullptr;
    ReportRowReader m_fnRowReader;
    std::vector<ColumnSortInfo> m_sortKeys;
    bool m_bShowHints = false;
    std::vector<ColumnState> m_columnStates;
    std::vector<int> m_editableColumns;
    QLineEdit* m_pEditor = nullptr;
    bool m_bEditingEnabled = false;
    int m_nEditRow = -1;
    int m_nEditColumn = -1;
    int m_nCheckMode = 1;
    uint32_t m_nExtendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES;
    bool m_bMovingSections = false;
};
