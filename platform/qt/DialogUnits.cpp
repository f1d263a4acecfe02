#include "platform/qt/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <cmath>

QFont DialogFont(const DialogTemplate& dlg)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(dlg.nPointSize);
    return font;
}

QSize DialogBaseUnits(const QFont& font)
{
    static const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    const int nWidth = static_cast<int>(std::lround(metrics.horizontalAdvance(kAlphabet) / 52.0));
    return QSize(nWidth, metrics.height());
}

int DialogUnitsToPixelsX(int nUnits, const QSize& baseUnits)
{
    return static_cast<int>(std::lround(nUnits * baseUnits.width() / 4.0));
}

int DialogUnitsToPixelsY(int nUnits, const QSize& baseUnits)
{
    return static_cast<int>(std::lround(nUnits * baseUnits.height() / 8.0));
}

QRect MapDialogRect(const DialogRect& rect, const QSize& baseUnits)
{
    return QRect(DialogUnitsToPixelsX(rect.x, baseUnits), DialogUnitsToPixelsY(rect.y, baseUnits),
                 DialogUnitsToPixelsX(rect.cx, baseUnits), DialogUnitsToPixelsY(rect.cy, baseUnits));
}
