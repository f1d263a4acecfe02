#include "ui/controls/ReportItemDelegate.h"

#include <QApplication>
#include <QStyle>

bool CReportItemDelegate::editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&)
{
    return false;
}

QRect CReportItemDelegate::SubElementRect(int nElement, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStyle* pStyle = opt.widget ? opt.widget->style() : QApplication::style();
    return pStyle->subElementRect(static_cast<QStyle::SubElement>(nElement), &opt, opt.widget);
}

QRect CReportItemDelegate::TextRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return SubElementRect(QStyle::SE_ItemViewItemText, option, index);
}

QRect CReportItemDelegate::CheckRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return SubElementRect(QStyle::SE_ItemViewItemCheckIndicator, option, index);
}
