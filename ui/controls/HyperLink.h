#pragma once
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QTimer>
#include <functional>

class QUrl;

// A static text that works as a web link: link colours, underlined while the
// pointer is over it, a pointing hand, a tooltip with the address, and a click
// that opens the address in the user's browser.
//
// Create it with its text, font, alignment and geometry (a template's values),
// then call Attach().
class CHyperLink : public QLabel
{
    Q_OBJECT

public:
    explicit CHyperLink(QWidget* pParent = nullptr);

    // Opens an address; true on success. QDesktopServices::openUrl unless
    // replaced (tests).
    using UrlOpener = std::function<bool(const QUrl&)>;
    // Installs an opener for every link and returns the one it replaces
    // (empty for the default).
    static UrlOpener SetUrlOpener(UrlOpener fnOpener);

    // Takes the text as the target when none is set (or shows the target when
    // there is no text), prepares the fonts, fits the control to its text and
    // sets up the cursor and tooltip.
    void Attach();

    void SetLinkTarget(const QString& strTarget);
    const QString& LinkTarget() const { return m_strTarget; }

    // Sizes the control to its text, keeping its left edge, right edge or
    // centre as its alignment says; the frame is preserved.
    void FitToText();

    // Opens an address; returns a result code of the platform's kind: above 32
    // on success, else the reason.
    static int OpenLink(const QString& strTarget);
    // The message box for a failed open.
    static void ShowOpenError(int nCode);

    // The colour the text is drawn in now.
    QColor TextColor() const;
    bool IsHovering() const { return m_bHovering; }
    bool WasVisited() const { return m_bWasVisited; }

    QColor m_colorLink{0, 0, 238};
    QColor m_colorVisited{85, 26, 139};
    QColor m_colorHover{255, 0, 0};
    bool m_bFitToText = true;

protected:
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    void OnClicked();
    void OnHoverTimer();
    void ApplyColor();

    bool m_bAttached = false;
    bool m_bHovering = false;
    bool m_bWasVisited = false;
    QString m_strTarget;
    QFont m_fontPlain;
    QFont m_fontUnderlined;
    // Watches for the pointer leaving while hovering.
    QTimer m_hoverTimer;
};
