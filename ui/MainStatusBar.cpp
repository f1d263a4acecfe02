#include "ui/MainStatusBar.h"

#include <QLabel>
#include <algorithm>

CMainStatusBar::CMainStatusBar(QWidget* pParent) : QFrame(pParent)
{
    setAutoFillBackground(true);
    for (QLabel*& pPane : m_panes) {
        pPane = new QLabel(this);
        pPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pPane->setTextFormat(Qt::PlainText);
        pPane->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        pPane->setIndent(2);
        // Long texts are cut at the pane's edge rather than widening it.
        pPane->setMinimumWidth(0);
        pPane->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }
}

void CMainStatusBar::SetPaneText(int nPane, const QString& strText)
{
    if (nPane >= 0 && nPane < kPaneCount)
        m_panes[nPane]->setText(strText);
}

void CMainStatusBar::SetPaneTip(int nPane, const QString& strTip)
{
    if (nPane >= 0 && nPane < kPaneCount)
        m_panes[nPane]->setToolTip(strTip);
}

QString CMainStatusBar::PaneText(int nPane) const
{
    return nPane >= 0 && nPane < kPaneCount ? m_panes[nPane]->text() : QString();
}

QString CMainStatusBar::PaneTip(int nPane) const
{
    return nPane >= 0 && nPane < kPaneCount ? m_panes[nPane]->toolTip() : QString();
}

void CMainStatusBar::SetPaneEdges(int nFirstRight, int nSecondRight)
{
    m_nFirstRight = nFirstRight;
    m_nSecondRight = nSecondRight;
    PlacePanes();
}

void CMainStatusBar::resizeEvent(QResizeEvent* pEvent)
{
    QFrame::resizeEvent(pEvent);
    PlacePanes();
}

void CMainStatusBar::PlacePanes()
{
    const int nWidth = width();
    const int nHeight = height();
    const int nFirst = std::clamp(m_nFirstRight, 0, nWidth);
    const int nSecond = std::clamp(m_nSecondRight, nFirst, nWidth);
    const int nGap = 2;
    m_panes[0]->setGeometry(0, nGap, std::max(nFirst - nGap, 0), nHeight - nGap);
    m_panes[1]->setGeometry(nFirst, nGap, std::max(nSecond - nFirst - nGap, 0), nHeight - nGap);
    m_panes[2]->setGeometry(nSecond, nGap, std::max(nWidth - nSecond, 0), nHeight - nGap);
}
