#pragma once

#include "platform/report/layout.h"
#include "platform/report/result.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace tv::report {

// One thing drawn on a page. Coordinates are units (1/720 inch) from the top left corner of the paper.
struct Element
{
    enum class Kind { Text, Image, Line, Fill };
    Kind kind = Kind::Text;
    QRectF rect; // Text: the run's line box; Line: from top left to bottom right; Fill, Image: the area
    qreal baseline = 0; // Text: where the letters stand
    QString text;       // Text: one run of one font on one line
    int font = -1;      // Text: index into Document::fonts()
    int image = -1;     // Image: index into Document::images()
    QColor color;
    qreal penWidth = 0; // Line
};

// A band as it landed on a page: what it is, where, and the texts of its cells in order (the lines of a cell
// joined by '\n'), so that a reader can check what was printed without looking at pixels.
struct PlacedBand
{
    BandKind kind = BandKind::Band;
    QString name;
    QRectF rect;
    QStringList texts;
    bool continued = false; // a part of a band or paragraph that runs on from the page before, or a header
                            // repeated at the top of a page
    int firstElement = 0;
    int elementCount = 0;
};

struct Page
{
    int section = 0; // the document of the run (a job) this page belongs to
    int number = 1;  // "Page number of count", counted within the section
    int count = 1;
    QList<PlacedBand> bands; // top to bottom: page header, body bands, page footer
    QList<Element> elements;
};

// A report laid out into pages, ready to paint on a printer, a PDF writer or a preview.
class Document
{
public:
    QString title() const { return m_title; }
    // A file name for an exported copy: the title and the job, such as "Quotation - Job 17.pdf".
    QString suggestedFileName() const { return m_suggestedFileName; }
    QPageSize pageSize() const { return m_pageSize; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    QPageLayout pageLayout() const;
    QSizeF pageSizeUnits() const { return m_pageSizeUnits; }

    int pageCount() const { return int(m_pages.size()); }
    const Page& page(int index) const { return m_pages.at(index); }
    const QList<Page>& pages() const { return m_pages; }
    const QList<QFont>& fonts() const { return m_fonts; }
    const QList<QImage>& images() const { return m_images; }

    // Every cell and paragraph text of a page, top to bottom.
    QStringList pageTexts(int index) const;
    // The bands of a kind on a page.
    QList<PlacedBand> bands(int index, BandKind kind) const;

    // Paints one page with painter, whose device has the given resolution in dots per inch.
    void paintPage(QPainter* painter, int index, qreal dpiX, qreal dpiY) const;
    // Paints the pages from..to (1-based, both 0 for all) on a printer, a PDF writer or a preview printer,
    // starting a new sheet between pages. The device's page layout must be set; OutputFailed if it will
    // not start.
    Result render(QPagedPaintDevice* device, int fromPage = 0, int toPage = 0) const;
    // Writes the document to a PDF file at path (replacing it).
    Result writePdf(const QString& path) const;
    // Prints on printer, with the document's paper and the printer's page range.
    Result print(QPrinter* printer) const;

private:
    friend class Composer;
    QString m_title;
    QString m_suggestedFileName;
    QPageSize m_pageSize = QPageSize(QPageSize::Letter);
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QSizeF m_pageSizeUnits;
    QList<Page> m_pages;
    QList<QFont> m_fonts;
    QList<QImage> m_images;
};

} // namespace tv::report

Q_DECLARE_TYPEINFO(tv::report::Element, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(tv::report::PlacedBand, Q_RELOCATABLE_TYPE);
