#pragma once

#include "platform/report/data.h"
#include "platform/report/document.h"
#include "platform/report/layout.h"
#include "platform/report/result.h"

#include <QDate>
#include <QFontMetricsF>
#include <QHash>
#include <array>
#include <map>
#include <memory>

namespace tv::report {

// Resolves every name of the layout against the data it was given: fields of the master, the details and the
// lookups, the layout's formulas, and the built-in names. LayoutInvalid with the file and line on a mistake.
Result bindLayout(Layout& layout, const ReportData& data);

// Lays a bound layout out into pages. Two passes: the body is flowed first, so that the page headers and
// footers know how many pages each document has ("Page 2 of 5").
class Composer
{
public:
    Composer(const Layout& layout, const ReportData& data);

    void setToday(const QDate& date) { m_today = date; }
    void setTitle(const QString& title, const QString& suggestedFileName);

    Result compose(Document* out);

    // Blocks are the pieces the body is flowed from: one band, or one paragraph of a text section.
    struct Block
    {
        BandKind kind = BandKind::Band;
        QString name;
        qreal height = 0;
        qreal spaceBefore = 0, spaceAfter = 0;
        QList<Element> elements; // x on the page, y from the top of the block
        QStringList texts;
        QList<qreal> breaks; // where the block could be cut between pages (ascending y): between lines of a
                             // paragraph, between rows of a band
        bool breakable = false; // paragraphs flow across pages; bands are cut only when taller than a page
        bool keepWithNext = false;
        bool newPage = false;
        bool continued = false;
        int region = -1; // the details the block belongs to, for repeating headers on a new page
        int group = -1;
        bool isEmpty() const { return height <= 0; }
    };

private:
    friend class RowContext;
    struct FontInfo
    {
        int index = -1;
        QFont font;
        QFontMetricsF metrics{QFont()};
        std::array<qreal, 256> latin{}; // advances of the first 256 characters, filled on first use
        bool latinReady = false;
    };
    struct Region
    {
        Block columnHeader;
        bool hasColumnHeader = false;
        QList<Block> continuedGroupHeaders; // per group, when the group header repeats on a new page
    };
    struct Group
    {
        int begin, end;
    };

    FontInfo& font(const Style& style, bool bold);
    static qreal textWidth(FontInfo& font, const QString& text);
    // Lays text out in width, appending its runs to out moved by origin. Returns the height; lineBottoms gets
    // the bottom of every line.
    qreal layoutText(const QString& text, const QList<QPair<int, int>>& bold, const Style& style, qreal width,
                     Qt::Alignment align, QPointF origin, QList<Element>& out,
                     QList<qreal>* lineBottoms = nullptr);
    Block bandBlock(const Band& band, const class RowContext& ctx);
    QList<Block> textBlocks(const TextBlock& text, const class RowContext& ctx);
    int imageIndex(const QByteArray& bytes);
    QList<Group> groupsOf(const Details& details, const class RowContext& ctx) const;
    void columnPositions(const ColumnSet& set, QList<qreal>* xs, QList<qreal>* ws) const;
    void collapseEmptyColumns(const Band& band, const ColumnSet& set, const class RowContext& ctx,
                              QList<qreal>* xs, QList<qreal>* ws);

    const Layout& m_layout;
    const ReportData& m_data;
    QDate m_today = QDate::currentDate();
    QString m_title, m_suggestedFileName;
    Document* m_doc = nullptr;
    std::map<std::pair<const Style*, bool>, FontInfo> m_fonts;                // stable references
    QHash<const ColumnSet*, std::pair<QList<qreal>, QList<qreal>>> m_columns; // column positions and widths
    QHash<QByteArray, int> m_imageCache;
    QList<Region> m_regions;
};

} // namespace tv::report
