#include "shell/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tv::artwork {

namespace {

// All pictures are drawn on a 100 x 100 canvas and scaled.
template <class Draw> QPixmap draw(int size, Draw&& body)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    body(p);
    return pixmap;
}

const QColor Ink(40, 52, 70);

void paper(QPainter& p, const QRectF& r, qreal fold)
{
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(Ink, 2));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    if (fold > 0) {
        QPainterPath corner;
        corner.moveTo(r.right() - fold, r.top());
        corner.lineTo(r.right() - fold, r.top() + fold);
        corner.lineTo(r.right(), r.top() + fold);
        p.setBrush(QColor(220, 226, 235));
        p.drawPath(corner);
    }
}

void tick(QPainter& p, QPointF at, qreal s)
{
    p.setPen(QPen(QColor(30, 140, 60), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QList<QPointF>{at, at + QPointF(s * 0.35, s * 0.4), at + QPointF(s, -s * 0.5)});
}

} // namespace

QPixmap handshake(int size)
{
    return draw(size, [](QPainter& p) {
        p.setPen(QPen(Ink, 2));
        // Sleeves
        p.setBrush(QColor(38, 84, 150));
        p.drawPolygon(QPolygonF({{2, 40}, {30, 34}, {36, 56}, {6, 64}}));
        p.setBrush(QColor(110, 110, 118));
        p.drawPolygon(QPolygonF({{98, 40}, {70, 34}, {64, 56}, {94, 64}}));
        // Cuffs
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(28, 33, 8, 24), 2, 2);
        p.drawRoundedRect(QRectF(64, 33, 8, 24), 2, 2);
        // Clasped hands
        const QColor skin(240, 196, 150);
        p.setBrush(skin);
        QPainterPath left;
        left.moveTo(36, 36);
        left.cubicTo(50, 30, 62, 34, 70, 42);
        left.cubicTo(66, 52, 56, 60, 44, 58);
        left.lineTo(36, 56);
        left.closeSubpath();
        p.drawPath(left);
        QPainterPath right;
        right.moveTo(64, 36);
        right.cubicTo(54, 40, 44, 44, 38, 50);
        right.cubicTo(44, 62, 58, 64, 64, 56);
        right.closeSubpath();
        p.setBrush(skin.darker(108));
        p.drawPath(right);
        // Fingers
        p.setPen(QPen(Ink, 1.5));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(46 + i * 5, 46 + i), QPointF(50 + i * 5, 56));
        p.drawArc(QRectF(52, 34, 12, 10), 0, 180 * 16);
    });
}

QPixmap checkList(int size)
{
    return draw(size, [](QPainter& p) {
        p.setPen(QPen(Ink, 2));
        p.setBrush(QColor(168, 120, 70));
        p.drawRoundedRect(QRectF(16, 8, 68, 88), 6, 6);
        paper(p, QRectF(22, 16, 56, 74), 0);
        p.setBrush(QColor(190, 196, 204));
        p.drawRoundedRect(QRectF(36, 3, 28, 12), 3, 3);
        for (int i = 0; i < 4; ++i) {
            const qreal y = 30 + i * 15;
            p.setPen(QPen(Ink, 1.5));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(28, y - 5, 9, 9));
            p.setPen(QPen(QColor(120, 130, 145), 2.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(42, y), QPointF(72, y));
            if (i < 3)
                tick(p, QPointF(29, y - 1), 10);
        }
    });
}

QPixmap printer(int size)
{
    return draw(size, [](QPainter& p) {
        paper(p, QRectF(28, 6, 44, 34), 0);
        p.setPen(QPen(Ink, 2));
        QLinearGradient body(0, 34, 0, 74);
        body.setColorAt(0, QColor(150, 158, 170));
        body.setColorAt(1, QColor(96, 104, 118));
        p.setBrush(body);
        p.drawRoundedRect(QRectF(8, 34, 84, 40), 8, 8);
        p.setBrush(QColor(60, 66, 78));
        p.drawRect(QRectF(22, 62, 56, 8));
        paper(p, QRectF(26, 66, 48, 28), 0);
        p.setPen(QPen(QColor(120, 130, 145), 2));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(32, 74 + i * 6), QPointF(68, 74 + i * 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(80, 200, 100));
        p.drawEllipse(QPointF(80, 44), 3.5, 3.5);
    });
}

QPixmap finishedQuote(int size)
{
    return draw(size, [](QPainter& p) {
        paper(p, QRectF(16, 6, 64, 86), 16);
        p.setPen(QPen(Ink, 2));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(22, 12, 44, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QUOTE"));
        p.setPen(QPen(QColor(120, 130, 145), 2.5, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(24, 36 + i * 9), QPointF(i % 2 ? 58 : 66, 36 + i * 9));
        p.setPen(QPen(Ink, 1.5));
        p.drawLine(QPointF(44, 74), QPointF(72, 74));
        // Seal with ribbons
        p.setBrush(QColor(190, 40, 50));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({{66, 80}, {60, 98}, {67, 94}, {71, 99}, {74, 82}}));
        p.drawPolygon(QPolygonF({{76, 80}, {82, 98}, {75, 94}, {71, 99}, {68, 82}}));
        p.setBrush(QColor(220, 170, 40));
        p.setPen(QPen(QColor(150, 110, 20), 1.5));
        p.drawEllipse(QPointF(71, 76), 10, 10);
        tick(p, QPointF(66, 76), 10);
    });
}

QIcon applicationIcon()
{
    static QIcon icon;
    if (!icon.isNull())
        return icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(draw(size, [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(38, 84, 150));
            p.drawRoundedRect(QRectF(2, 2, 96, 96), 18, 18);
            // A bowling pin on a lane
            p.setBrush(QColor(250, 250, 250));
            QPainterPath pin;
            pin.moveTo(50, 12);
            pin.cubicTo(60, 12, 60, 30, 56, 38);
            pin.cubicTo(70, 52, 68, 80, 60, 90);
            pin.lineTo(40, 90);
            pin.cubicTo(32, 80, 30, 52, 44, 38);
            pin.cubicTo(40, 30, 40, 12, 50, 12);
            p.drawPath(pin);
            p.setBrush(QColor(200, 40, 50));
            p.drawRect(QRectF(42, 34, 16, 4));
            p.drawRect(QRectF(41, 41, 18, 4));
        }));
    return icon;
}

} // namespace tv::artwork
