#include "platform/qt/Icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "resources/Icons.h"

QIcon LoadIconResource(int nId)
{
    const std::string_view svg = FindIconSvg(nId);
    if (svg.empty())
        return {};
    QSvgRenderer renderer(QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
    QIcon icon;
    for (const int nSize : {16, 24, 32, 48}) {
        QPixmap pixmap(nSize, nSize);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
