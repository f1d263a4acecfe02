#pragma once
#include <QSizeGrip>

// The grip in a resizable dialog's lower-right corner. Dragging it resizes the
// top-level window; it can be clipped to its lower-right triangle so the
// controls behind the rest of its square stay reachable.
class CSizeGripExt : public QSizeGrip
{
    Q_OBJECT

public:
    // Created hidden, then placed into the parent's corner and shown if wanted.
    CSizeGripExt(QWidget* pParent, bool bShown, bool bTriangular);

    // Clips the grip to the triangle below its diagonal, or removes the clip.
    void SetTriangular(bool bOn);
    // Puts the grip into the parent's lower-right corner, below its siblings,
    // and shows or hides it as wanted.
    void Reposition(QWidget* pParent);

    void SetShown(bool bShown) { m_bShown = bShown; }
    bool IsShown() const { return m_bShown; }
    bool IsTriangular() const { return m_bTriangular; }

protected:
    void changeEvent(QEvent* pEvent) override;

private:
    void ReadMetrics();
    void UpdateMask();

    int m_cxGrip = 0;
    int m_cyGrip = 0;
    bool m_bShown = true;
    bool m_bTriangular = false;
};
