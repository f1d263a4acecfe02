#include "ui/controls/HyperLink.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QUrl>

#include "platform/Format.h"
#include "platform/MessageBox.h"

namespace {

// Result codes of an open: above 32 is success; a failed open of the desktop
// services means no application took the address.
constexpr int kOpenSucceeded = 42;
constexpr int kNoAssociation = 31;
constexpr int kHoverCheckMs = 100;

CHyperLink::UrlOpener g_fnOpener;

const char* OpenErrorText(int nCode)
{
    switch (nCode) {
    case 0: return "The operating system is out\nof memory or resources.";
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied\naccess to the specified file.";
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return "A sharing violation occurred. ";
    case 27: return "The filename association is\nincomplete or invalid.";
    case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case 31: return "There is no application associated\nwith the given filename extension.";
    case 32: return "The specified dynamic-link library was not found.";
    default: return nullptr;
    }
}

}  // namespace

CHyperLink::CHyperLink(QWidget* pParent)
    : QLabel(pParent)
{
    m_hoverTimer.setInterval(kHoverCheckMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CHyperLink::OnHoverTimer);
}

CHyperLink::UrlOpener CHyperLink::SetUrlOpener(UrlOpener fnOpener)
{
    std::swap(g_fnOpener, fnOpener);
    return fnOpener;
}

void CHyperLink::Attach()
{
    // Moves are needed without a button pressed to see the pointer arrive.
    setMouseTracking(true);
    if (m_strTarget.isEmpty())
        m_strTarget = text();
    if (text().isEmpty())
        setText(m_strTarget);
    m_fontPlain = font();
    m_fontUnderlined = m_fontPlain;
    m_fontUnderlined.setUnderline(true);
    m_bAttached = true;
    FitToText();
    setCursor(Qt::PointingHandCursor);
    setToolTip(m_strTarget);
    ApplyColor();
}

void CHyperLink::SetLinkTarget(const QString& strTarget)
{
    m_strTarget = strTarget;
    if (!m_bAttached)
        return;
    FitToText();
    setToolTip(m_strTarget);
}

void CHyperLink::FitToText()
{
    if (!m_bAttached || !m_bFitToText)
        return;
    QRect window = geometry();
    const QRect client = contentsRect();
    const QSize text = QFontMetrics(m_fontUnderlined).size(0, this->text());
    const int nNeededW = text.width() + (window.width() - client.width());
    const int nNeededH = text.height() + (window.height() - client.height());

    int nLeft = window.left();
    int nTop = window.top();
    int nRight = window.left() + window.width();
    int nBottom = window.top() + window.height();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignVCenter) {
        const int nInset = (window.height() - nNeededH) / 2;
        nTop += nInset;
        nBottom -= nInset;
    } else {
        nBottom = nTop + nNeededH;
    }
    if (align & Qt::AlignHCenter) {
        const int nInset = (window.width() - nNeededW) / 2;
        nLeft += nInset;
        nRight -= nInset;
    } else if (align & Qt::AlignRight) {
        nLeft = nRight - nNeededW;
    } else {
        nRight = nLeft + nNeededW;
    }
    window.setCoords(nLeft, nTop, nRight - 1, nBottom - 1);
    setGeometry(window);
}

int CHyperLink::OpenLink(const QString& strTarget)
{
    const QUrl url = QUrl::fromUserInput(strTarget);
    const bool bOpened = g_fnOpener ? g_fnOpener(url) : QDesktopServices::openUrl(url);
    return bOpened ? kOpenSucceeded : kNoAssociation;
}

void CHyperLink::ShowOpenError(int nCode)
{
    const char* pszText = OpenErrorText(nCode);
    const std::string strReason = pszText != nullptr ? pszText : StringFormat("Unknown Error (%d) occurred.", nCode);
    ShowMessageBox("Unable to open hyperlink:\n\n" + strReason, kMessageBoxCaption, MB_OK | MB_ICONWARNING);
}

QColor CHyperLink::TextColor() const
{
    if (m_bHovering)
        return m_colorHover;
    return m_bWasVisited ? m_colorVisited : m_colorLink;
}

void CHyperLink::ApplyColor()
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, TextColor());
    setPalette(pal);
}

void CHyperLink::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_bHovering) {
        m_bHovering = true;
        setFont(m_fontUnderlined);
        ApplyColor();
        m_hoverTimer.start();
    }
    QLabel::mouseMoveEvent(pEvent);
}

void CHyperLink::OnHoverTimer()
{
    if (rect().contains(mapFromGlobal(QCursor::pos())))
        return;
    m_bHovering = false;
    m_hoverTimer.stop();
    setFont(m_fontPlain);
    ApplyColor();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* pEvent)
{
    QLabel::mouseReleaseEvent(pEvent);
    if (pEvent->button() == Qt::LeftButton && rect().contains(pEvent->position().toPoint()))
        OnClicked();
}

void CHyperLink::OnClicked()
{
    m_bHovering = false;
    const int nResult = OpenLink(m_strTarget);
    m_bWasVisited = nResult > 32;
    ApplyColor();
    if (!m_bWasVisited) {
        QApplication::beep();
        ShowOpenError(nResult);
    }
}
