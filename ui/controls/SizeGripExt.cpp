#include "ui/controls/SizeGripExt.h"

#include <QEvent>
#include <QPolygon>
#include <QRegion>
#include <QStyle>

CSizeGripExt::CSizeGripExt(QWidget* pParent, bool bShown, bool bTriangular)
    : QSizeGrip(pParent)
{
    hide();
    ReadMetrics();
    resize(m_cxGrip, m_cyGrip);
    SetTriangular(bTriangular);
    m_bShown = bShown;
    Reposition(pParent);
}

void CSizeGripExt::ReadMetrics()
{
    // As wide as a vertical scroll bar and as high as a horizontal one.
    const int nExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_cxGrip = nExtent;
    m_cyGrip = nExtent;
}

void CSizeGripExt::UpdateMask()
{
    if (!m_bTriangular) {
        clearMask();
        return;
    }
    const int w = width();
    const int h = height();
    setMask(QRegion(QPolygon({QPoint(0, h), QPoint(w, h), QPoint(w, 0)}), Qt::WindingFill));
}

void CSizeGripExt::SetTriangular(bool bOn)
{
    m_bTriangular = bOn;
    UpdateMask();
}

void CSizeGripExt::Reposition(QWidget* pParent)
{
    move(pParent->width() - m_cxGrip, pParent->height() - m_cyGrip);
    lower();
    setVisible(m_bShown);
}

void CSizeGripExt::changeEvent(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::StyleChange) {
        // Keep the lower-right corner where it was when the metrics change.
        const QRect old = geometry();
        ReadMetrics();
        setGeometry(old.right() + 1 - m_cxGrip, old.bottom() + 1 - m_cyGrip, m_cxGrip, m_cyGrip);
        UpdateMask();
        update();
    }
    QSizeGrip::changeEvent(pEvent);
}
