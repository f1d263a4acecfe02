#pragma once
#include <QStyledItemDelegate>

// Draws the report list's cells. Check boxes change only through the list's
// own click handling, so the delegate never toggles them.
class CReportItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool editorEvent(QEvent* pEvent, QAbstractItemModel* pModel, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // Where the cell's text is drawn (past its check box and image), and where
    // its check box is; option carries the cell's rectangle.
    QRect TextRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QRect CheckRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

private:
    QRect SubElementRect(int nElement, const QStyleOptionViewItem& option, const QModelIndex& index) const;
};
