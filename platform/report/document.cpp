#include "platform/report/document.h"

#include "platform/report/pdfwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace tv::report {

QPageLayout Document::pageLayout() const
{
    return QPageLayout(m_pageSize, m_orientation, QMarginsF(0, 0, 0, 0));
}

QStringList Document::pageTexts(int index) const
{
    QStringList out;
    for (const PlacedBand& b : m_pages.at(index).bands)
        for (const QString& t : b.texts)
            if (!t.isEmpty())
                out.append(t);
    return out;
}

QList<PlacedBand> Document::bands(int index, BandKind kind) const
{
    QList<PlacedBand> out;
    for (const PlacedBand& b : m_pages.at(index).bands)
        if (b.kind == kind)
            out.append(b);
    return out;
}

void Document::paintPage(QPainter* painter, int index, qreal dpiX, qreal dpiY) const
{
    const Page& page = m_pages.at(index);
    painter->save();
    painter->scale(dpiX / UnitsPerInch, dpiY / UnitsPerInch);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    int currentFont = -1;
    QColor currentPen;
    for (const Element& e : page.elements) {
        switch (e.kind) {
        case Element::Kind::Fill:
            painter->fillRect(e.rect, e.color);
            break;
        case Element::Kind::Line: {
            QPen pen(e.color, e.penWidth);
            pen.setCapStyle(Qt::FlatCap);
            painter->setPen(pen);
            painter->drawLine(e.rect.topLeft(), e.rect.bottomRight());
            currentPen = QColor();
            break;
        }
        case Element::Kind::Image:
            if (e.image >= 0 && e.image < m_images.size())
                painter->drawImage(e.rect, m_images[e.image]);
            break;
        case Element::Kind::Text:
            if (e.font != currentFont) {
                painter->setFont(m_fonts.at(e.font));
                currentFont = e.font;
            }
            if (e.color != currentPen) {
                painter->setPen(QPen(e.color, 0));
                currentPen = e.color;
            }
            painter->drawText(QPointF(e.rect.left(), e.baseline), e.text);
            break;
        }
    }
    painter->restore();
}

Result Document::render(QPagedPaintDevice* device, int fromPage, int toPage) const
{
    const int first = fromPage > 0 ? fromPage - 1 : 0;
    const int last = toPage > 0 ? qMin(toPage, pageCount()) - 1 : pageCount() - 1;
    QPainter painter;
    if (!painter.begin(device))
        return Result::failure(ResultCode::OutputFailed, QStringLiteral("The output could not be started."));
    const qreal dpiX = device->logicalDpiX();
    const qreal dpiY = device->logicalDpiY();
    for (int i = first; i <= last; ++i) {
        if (i > first && !device->newPage()) {
            painter.end();
            return Result::failure(ResultCode::OutputFailed,
                                   QStringLiteral("A new page could not be started."));
        }
        paintPage(&painter, i, dpiX, dpiY);
    }
    if (!painter.end())
        return Result::failure(ResultCode::OutputFailed, QStringLiteral("The output could not be finished."));
    return Result::success();
}

Result Document::writePdf(const QString& path) const
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.absoluteDir().exists())
        return Result::failure(ResultCode::OutputFailed,
                               QStringLiteral("The PDF file cannot be written: the folder %1 does not exist.")
                                   .arg(QDir::toNativeSeparators(info.absolutePath())));
    if (directpdf::canWrite(*this)) {
        if (Result r = directpdf::write(*this, path); !r.ok())
            return r;
    } else {
        QPdfWriter writer(path);
        writer.setResolution(1200);
        writer.setPageLayout(pageLayout());
        writer.setTitle(m_title);
        writer.setCreator(QStringLiteral("Tarvenor"));
        const Result r = render(&writer);
        if (!r.ok())
            return Result::failure(
                ResultCode::OutputFailed,
                QStringLiteral("The PDF file %1 could not be written.").arg(QDir::toNativeSeparators(path)));
    }
    if (QFileInfo(path).size() <= 0)
        return Result::failure(
            ResultCode::OutputFailed,
            QStringLiteral("The PDF file %1 could not be written.").arg(QDir::toNativeSeparators(path)));
    return Result::success();
}

Result Document::print(QPrinter* printer) const
{
    printer->setFullPage(true);
    printer->setPageLayout(pageLayout());
    if (printer->docName().isEmpty())
        printer->setDocName(m_title);
    int from = 0, to = 0;
    if (printer->printRange() == QPrinter::PageRange) {
        from = printer->fromPage();
        to = printer->toPage();
    }
    const Result r = render(printer, from, to);
    if (!r.ok())
        return Result::failure(
            ResultCode::OutputFailed,
            QStringLiteral("The printer %1 could not print the report.").arg(printer->printerName()));
    return r;
}

} // namespace tv::report
