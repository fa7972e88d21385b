#pragma once

#include "platform/report/template.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

namespace tv::report {

// Every length of a layout and of a laid-out document is in units of 1/720 inch (tenths of a point).
inline constexpr qreal UnitsPerInch = 720.0;
inline constexpr qreal UnitsPerPoint = 10.0;

// Reads "0.6in", "12pt", "5mm", "1.5cm", or a bare number of points, into units.
std::optional<qreal> parseLength(const QString& text);

struct Style
{
    QString name;
    QString family;
    qreal size = 9; // points
    bool bold = false;
    bool italic = false;
    bool caps = false;
    QColor color = QColor(0x22, 0x22, 0x22);
    std::optional<Qt::Alignment> align;
    qreal leading = 1.0;   // line height as a multiple of the font's own
    qreal spaceBefore = 0; // units, paragraphs of text sections
    qreal spaceAfter = 0;  // units
    qreal indent = 0;      // units, left indent of paragraphs
};

struct Column
{
    QString name;
    qreal width = 0; // units; ignored for the star column
    bool star = false;
    bool collapse = false; // gives its width to the * column in a band where nothing is printed in it
    Qt::Alignment align = Qt::AlignLeft;
};

struct ColumnSet
{
    QString name;
    QList<Column> columns;
    int indexOf(const QString& name) const;
};

struct Cell
{
    enum class Kind { Text, Image };
    Kind kind = Kind::Text;
    int first = 0, last = 0; // columns spanned, inclusive
    QString firstName, lastName;
    QString style;
    Template text;
    ExprPtr image;         // Image: a formula giving picture bytes
    qreal imageHeight = 0; // Image: units
    int line = 0;
};

struct Row
{
    enum class Kind { Cells, Rule, Space };
    Kind kind = Kind::Cells;
    QList<Cell> cells;
    int first = -1, last = -1; // Rule: columns spanned, -1 for the full width
    QString firstName, lastName;
    int line = 0;
    qreal size = 0; // Rule: pen width; Space: height (units)
    QColor color;
};

enum class BandKind {
    PageHeader,
    PageFooter,
    Band,
    ColumnHeader,
    GroupHeader,
    Detail,
    GroupFooter,
    NoDetails,
    Text,
};
QString bandKindName(BandKind kind);

struct Band
{
    BandKind kind = BandKind::Band;
    QString name;
    int line = 0;
    QString columns; // the column set; empty for the built-in "page" set with its one column "all"
    QList<Row> rows;
    QColor background;
    QColor ruleAboveColor, ruleBelowColor;
    qreal ruleAbove = 0, ruleBelow = 0; // pen widths, units
    qreal paddingV = 0, paddingH = 0;
    qreal spaceBefore = 0, spaceAfter = 0;
    bool keepWithNext = false;
    bool newPage = false;
    bool repeatGroups = false;    // body bands: once for every group of the details before them
    bool repeatOnNewPage = false; // group headers: again at the top of a page the group runs onto
    ExprPtr showIf;
    bool defined = false;
};

struct Paragraph
{
    enum class Kind { Body, Heading, Bullet };
    Kind kind = Kind::Body;
    Template text;
    int line = 0;
};

struct TextBlock
{
    QString name;
    int line = 0;
    QString style = QStringLiteral("body");
    QString headingStyle = QStringLiteral("heading");
    QString bulletStyle; // empty: the body style
    qreal indent = 0;
    bool newPage = false;
    bool keepTogether = false;
    ExprPtr showIf;
    QList<Paragraph> paragraphs;
};

struct Details
{
    int line = 0;
    ExprPtr groupBy;
    Band columnHeader, groupHeader, detail, groupFooter, noDetails;
};

struct Formula
{
    QString name;
    ExprPtr expr;
    int line = 0;
};

struct DataSpec
{
    QString master, masterKey; // the table a document is made for, and its key
    QString details,
        detailsLink;     // the rows listed in the document, and the field that holds the master's key
    QStringList order;   // fields of the details that order them
    QStringList lookups; // one-row tables whose first row every text may use
    QList<QPair<QString, QString>> selectable; // table and field a selection formula may name
    bool blankWithoutSelection = false;        // one document with empty job fields when nothing is selected
};

struct BodyPart
{
    enum class Kind { Band, Text, Details };
    Kind kind;
    int index;
};

class Layout
{
public:
    // Reads a layout file's text. fileName names the file in messages. On a mistake returns nothing and puts
    // "<file>, line <n>: <what is wrong>" into error.
    static std::optional<Layout> parse(const QString& text, const QString& fileName, QString* error);

    QString fileName;
    QString title;
    QPageSize pageSize = QPageSize(QPageSize::Letter);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins = QMarginsF(432, 432, 432, 432); // units: left, top, right, bottom
    QString fontFamily = QStringLiteral("Liberation Sans");

    DataSpec data;
    QHash<QString, Style> styles;         // by lower-case name
    QHash<QString, ColumnSet> columnSets; // by lower-case name
    QList<Formula> formulas;

    Band pageHeader, pageFooter;
    QList<Band> bands;
    QList<TextBlock> texts;
    QList<Details> details;
    QList<BodyPart> body;

    const Style& style(const QString& name) const;
    const ColumnSet& columnSet(const QString& name) const;
    // The width between the left and right margins, and the height between top and bottom, in units.
    qreal bodyWidth() const;
    qreal bodyHeight() const;
    QSizeF pageSizeUnits() const;
};

} // namespace tv::report
