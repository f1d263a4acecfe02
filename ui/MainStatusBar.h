#pragma once
#include <QFrame>
#include <QString>
#include <array>

class QLabel;

// The main window's status bar: three panes side by side, each with its own
// text and tooltip. The owner places the bar and sets the panes' right edges.
class CMainStatusBar : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kPaneCount = 3;

    explicit CMainStatusBar(QWidget* pParent);

    void SetPaneText(int nPane, const QString& strText);
    void SetPaneTip(int nPane, const QString& strTip);
    QString PaneText(int nPane) const;
    QString PaneTip(int nPane) const;

    // Right edges of the first two panes in pixels; the last pane runs to the
    // end of the bar.
    void SetPaneEdges(int nFirstRight, int nSecondRight);

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void PlacePanes();

    std::array<QLabel*, kPaneCount> m_panes{};
    int m_nFirstRight = 0;
    int m_nSecondRight = 0;
};
