#include "platform/report/pdfwriter.h"

#include "platform/report/document.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QRawFont>
#include <array>
#include <cmath>

namespace tv::report::directpdf {

namespace {

// Windows Latin 1 (code page 1252): the characters of the bytes 0x80 to 0x9F; the rest is Latin 1.
constexpr char16_t cp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of a character in Windows Latin 1, or 0 where it has none.
uchar encode(char16_t c)
{
    if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF))
        return uchar(c);
    for (int i = 0; i < 32; ++i)
        if (cp1252High[i] == c && c != 0)
            return uchar(0x80 + i);
    return 0;
}

char16_t decode(int byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return cp1252High[byte - 0x80];
    return char16_t(byte);
}

// The standard font of a family, or empty where the family has no metric twin among them.
QByteArray standardFamily(const QString& family)
{
    const QString f = family.toLower();
    if (f == QLatin1String("liberation sans") || f == QLatin1String("arial") ||
        f == QLatin1String("helvetica"))
        return "Helvetica";
    if (f == QLatin1String("liberation serif") || f == QLatin1String("times new roman") ||
        f == QLatin1String("times"))
        return "Times";
    if (f == QLatin1String("liberation mono") || f == QLatin1String("courier new") ||
        f == QLatin1String("courier"))
        return "Courier";
    return {};
}

QByteArray baseFontName(const QByteArray& family, bool bold, bool italic)
{
    if (family == "Times") {
        if (bold && italic)
            return "Times-BoldItalic";
        if (bold)
            return "Times-Bold";
        if (italic)
            return "Times-Italic";
        return "Times-Roman";
    }
    QByteArray name = family;
    if (bold || italic)
        name += '-';
    if (bold)
        name += "Bold";
    if (italic)
        name += "Oblique";
    return name;
}

// Numbers as PDF writes them: at most two decimals, no exponent; appended without building strings.
void number(QByteArray& out, double v)
{
    qint64 hundredths = std::llround(v * 100);
    if (hundredths < 0) {
        out += '-';
        hundredths = -hundredths;
    }
    char digits[24];
    int n = 0;
    qint64 whole = hundredths / 100;
    do {
        digits[n++] = char('0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    while (n > 0)
        out += digits[--n];
    const int fraction = int(hundredths % 100);
    if (fraction) {
        out += '.';
        out += char('0' + fraction / 10);
        if (fraction % 10)
            out += char('0' + fraction % 10);
    }
}

void color(QByteArray& out, const QColor& c, const char* op)
{
    number(out, c.redF());
    out += ' ';
    number(out, c.greenF());
    out += ' ';
    number(out, c.blueF());
    out += ' ';
    out += op;
    out += '\n';
}

QByteArray flate(const QByteArray& data)
{
    // qCompress puts the length in four bytes before a zlib stream, which is what FlateDecode reads.
    return qCompress(data, 1).mid(4);
}

class Writer
{
public:
    explicit Writer(const Document& doc) : m_doc(doc) {}
    QByteArray write();

private:
    int reserve()
    {
        m_offsets.append(-1);
        return int(m_offsets.size());
    }
    void begin(int id)
    {
        m_offsets[id - 1] = m_out.size();
        m_out += QByteArray::number(id) + " 0 obj\n";
    }
    void end() { m_out += "endobj\n"; }
    void stream(int id, const QByteArray& dictionary, const QByteArray& data, bool compress)
    {
        const QByteArray body = compress ? flate(data) : data;
        begin(id);
        m_out += "<< " + dictionary + (compress ? " /Filter /FlateDecode" : "") + " /Length " +
                 QByteArray::number(body.size()) + " >>\nstream\n";
        m_out += body;
        m_out += "\nendstream\n";
        end();
    }
    static void text(QByteArray& out, const QString& s);
    int fontObject(int index);
    int imageObject(int index);
    QByteArray pageContent(const Page& page);

    const Document& m_doc;
    QByteArray m_out;
    QList<qint64> m_offsets;
    QHash<int, int> m_fontObjects;        // document font index -> object
    QHash<QByteArray, int> m_baseObjects; // standard font name -> object
    QHash<int, int> m_imageObjects;       // document image index -> object
};

void Writer::text(QByteArray& out, const QString& s)
{
    out += '(';
    for (QChar ch : s) {
        const uchar b = encode(ch.unicode());
        if (b == '(' || b == ')' || b == '\\') {
            out += '\\';
            out += char(b);
        } else if (b < 0x20 || b >= 0x7F) {
            out += '\\';
            out += char('0' + ((b >> 6) & 7));
            out += char('0' + ((b >> 3) & 7));
            out += char('0' + (b & 7));
        } else {
            out += char(b);
        }
    }
    out += ')';
}

int Writer::fontObject(int index)
{
    const auto it = m_fontObjects.constFind(index);
    if (it != m_fontObjects.constEnd())
        return *it;
    const QFont& font = m_doc.fonts().at(index);
    const QByteArray family = standardFamily(font.family());
    const QByteArray base = baseFontName(family, font.bold(), font.italic());
    // One font object for each face, whatever the sizes it is used in.
    if (const auto same = m_baseObjects.constFind(base); same != m_baseObjects.constEnd()) {
        m_fontObjects.insert(index, *same);
        return *same;
    }

    // The widths of the installed font, in thousandths of the type size, for every byte of the encoding.
    QFont big = font;
    big.setPixelSize(1000);
    const QRawFont raw = QRawFont::fromFont(big);
    QByteArray widths = "[";
    for (int code = 32; code <= 255; ++code) {
        const char16_t c = decode(code);
        qreal w = 0;
        if (c != 0 && raw.isValid()) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(c)));
            if (!glyphs.isEmpty() && glyphs.first() != 0)
                w = raw.advancesForGlyphIndexes(glyphs).value(0).x();
        }
        number(widths, w);
        widths += code % 16 == 15 ? '\n' : ' ';
    }
    widths += ']';

    int flags = 32; // not symbolic
    if (family == "Times")
        flags |= 2;
    if (family == "Courier")
        flags |= 1;
    if (font.italic())
        flags |= 64;
    const int descriptor = reserve();
    begin(descriptor);
    QByteArray d = "<< /Type /FontDescriptor /FontName /" + base + " /Flags " + QByteArray::number(flags) +
                   " /FontBBox [-200 -250 1200 950] /ItalicAngle " + (font.italic() ? "-12" : "0") +
                   " /Ascent ";
    number(d, raw.isValid() ? raw.ascent() : 900);
    d += " /Descent ";
    number(d, raw.isValid() ? -raw.descent() : -210);
    d += " /CapHeight ";
    number(d, raw.isValid() ? raw.capHeight() : 720);
    d += " /StemV ";
    d += font.bold() ? "120" : "80";
    d += " >>\n";
    m_out += d;
    end();

    const int id = reserve();
    begin(id);
    m_out += "<< /Type /Font /Subtype /Type1 /BaseFont /" + base +
             " /Encoding /WinAnsiEncoding /FirstChar 32 /LastChar 255 /Widths " + widths +
             " /FontDescriptor " + QByteArray::number(descriptor) + " 0 R >>\n";
    end();
    m_fontObjects.insert(index, id);
    m_baseObjects.insert(base, id);
    return id;
}

int Writer::imageObject(int index)
{
    const auto it = m_imageObjects.constFind(index);
    if (it != m_imageObjects.constEnd())
        return *it;
    const QImage& source = m_doc.images().at(index);
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    QByteArray pixels;
    pixels.reserve(rgb.width() * rgb.height() * 3);
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    int mask = 0;
    if (source.hasAlphaChannel()) {
        const QImage alpha = source.convertToFormat(QImage::Format_Alpha8);
        QByteArray a;
        a.reserve(alpha.width() * alpha.height());
        for (int y = 0; y < alpha.height(); ++y)
            a.append(reinterpret_cast<const char*>(alpha.constScanLine(y)), alpha.width());
        mask = reserve();
        stream(mask,
               "/Type /XObject /Subtype /Image /Width " + QByteArray::number(alpha.width()) + " /Height " +
                   QByteArray::number(alpha.height()) + " /ColorSpace /DeviceGray /BitsPerComponent 8",
               a, true);
    }
    const int id = reserve();
    QByteArray dict = "/Type /XObject /Subtype /Image /Width " + QByteArray::number(rgb.width()) +
                      " /Height " + QByteArray::number(rgb.height()) +
                      " /ColorSpace /DeviceRGB /BitsPerComponent 8";
    if (mask)
        dict += " /SMask " + QByteArray::number(mask) + " 0 R";
    stream(id, dict, pixels, true);
    m_imageObjects.insert(index, id);
    return id;
}

QByteArray Writer::pageContent(const Page& page)
{
    const double height = m_doc.pageSizeUnits().height() / UnitsPerPoint;
    auto px = [](double units) { return units / UnitsPerPoint; };
    QByteArray out;
    out.reserve(page.elements.size() * 48);
    bool inText = false;
    int font = -1;
    QColor fill, stroke;
    double lineWidth = -1;
    for (const Element& e : page.elements) {
        if (e.kind != Element::Kind::Text && inText) {
            out += "ET\n";
            inText = false;
        }
        switch (e.kind) {
        case Element::Kind::Fill:
            if (e.color != fill) {
                color(out, e.color, "rg");
                fill = e.color;
            }
            number(out, px(e.rect.left()));
            out += ' ';
            number(out, height - px(e.rect.bottom()));
            out += ' ';
            number(out, px(e.rect.width()));
            out += ' ';
            number(out, px(e.rect.height()));
            out += " re f\n";
            break;
        case Element::Kind::Line:
            if (e.color != stroke) {
                color(out, e.color, "RG");
                stroke = e.color;
            }
            if (e.penWidth != lineWidth) {
                number(out, px(e.penWidth));
                out += " w\n";
                lineWidth = e.penWidth;
            }
            number(out, px(e.rect.left()));
            out += ' ';
            number(out, height - px(e.rect.top()));
            out += " m ";
            number(out, px(e.rect.right()));
            out += ' ';
            number(out, height - px(e.rect.bottom()));
            out += " l S\n";
            break;
        case Element::Kind::Image: {
            if (e.image < 0)
                break;
            const int id = imageObject(e.image);
            out += "q ";
            number(out, px(e.rect.width()));
            out += " 0 0 ";
            number(out, px(e.rect.height()));
            out += ' ';
            number(out, px(e.rect.left()));
            out += ' ';
            number(out, height - px(e.rect.bottom()));
            out += " cm /Im" + QByteArray::number(id) + " Do Q\n";
            break;
        }
        case Element::Kind::Text: {
            if (!inText) {
                out += "BT\n";
                inText = true;
                font = -1;
            }
            if (e.color != fill) {
                color(out, e.color, "rg");
                fill = e.color;
            }
            if (e.font != font) {
                const int id = fontObject(e.font);
                out += "/F";
                number(out, id);
                out += ' ';
                number(out, m_doc.fonts().at(e.font).pixelSize() / UnitsPerPoint);
                out += " Tf\n";
                font = e.font;
            }
            out += "1 0 0 1 ";
            number(out, px(e.rect.left()));
            out += ' ';
            number(out, height - px(e.baseline));
            out += " Tm ";
            text(out, e.text);
            out += " Tj\n";
            break;
        }
        }
    }
    if (inText)
        out += "ET\n";
    return out;
}

QByteArray Writer::write()
{
    m_out.reserve(64 * 1024);
    m_out += "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    const int catalog = reserve();
    const int pages = reserve();
    const int info = reserve();

    QList<int> pageIds;
    const QSizeF size = m_doc.pageSizeUnits() / UnitsPerPoint;
    for (const Page& page : m_doc.pages()) {
        const QByteArray content = pageContent(page);
        const int contentId = reserve();
        stream(contentId, QByteArray(), content, true);
        const int pageId = reserve();
        pageIds.append(pageId);
        // Every page names the fonts and pictures of the document; readers take what each page uses.
        QByteArray resources = "<< /Font << ";
        for (auto it = m_baseObjects.constBegin(); it != m_baseObjects.constEnd(); ++it)
            resources +=
                "/F" + QByteArray::number(it.value()) + ' ' + QByteArray::number(it.value()) + " 0 R ";
        resources += ">> /XObject << ";
        for (auto it = m_imageObjects.constBegin(); it != m_imageObjects.constEnd(); ++it)
            resources +=
                "/Im" + QByteArray::number(it.value()) + ' ' + QByteArray::number(it.value()) + " 0 R ";
        resources += ">> >>";
        begin(pageId);
        QByteArray d = "<< /Type /Page /Parent " + QByteArray::number(pages) + " 0 R /MediaBox [0 0 ";
        number(d, size.width());
        d += ' ';
        number(d, size.height());
        d += "] /Resources " + resources + " /Contents " + QByteArray::number(contentId) + " 0 R >>\n";
        m_out += d;
        end();
    }

    begin(pages);
    m_out += "<< /Type /Pages /Count " + QByteArray::number(pageIds.size()) + " /Kids [";
    for (int id : pageIds)
        m_out += QByteArray::number(id) + " 0 R ";
    m_out += "] >>\n";
    end();

    begin(catalog);
    m_out += "<< /Type /Catalog /Pages " + QByteArray::number(pages) + " 0 R >>\n";
    end();

    // The title in UTF-16 with its byte order mark, as PDF text strings allow any language.
    QByteArray title = "<FEFF";
    for (QChar c : m_doc.title())
        title += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    title += '>';
    begin(info);
    m_out +=
        "<< /Title " + title + " /Creator (Tarvenor) /Producer (Tarvenor report engine) /CreationDate (D:" +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z) >>\n";
    end();

    const qint64 xref = m_out.size();
    m_out += "xref\n0 " + QByteArray::number(m_offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (qint64 offset : m_offsets)
        m_out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    m_out += "trailer\n<< /Size " + QByteArray::number(m_offsets.size() + 1) + " /Root " +
             QByteArray::number(catalog) + " 0 R /Info " + QByteArray::number(info) + " 0 R >>\nstartxref\n" +
             QByteArray::number(xref) + "\n%%EOF\n";
    return m_out;
}

} // namespace

bool canWrite(const Document& document)
{
    for (const QFont& f : document.fonts()) {
        if (standardFamily(f.family()).isEmpty())
            return false;
        // The widths come from the installed font; a substitute would have other metrics than the layout.
        if (QFontInfo(f).family().compare(f.family(), Qt::CaseInsensitive) != 0)
            return false;
    }
    for (const Page& page : document.pages())
        for (const Element& e : page.elements)
            if (e.kind == Element::Kind::Text)
                for (QChar c : e.text)
                    if (encode(c.unicode()) == 0)
                        return false;
    return true;
}

Result write(const Document& document, const QString& path)
{
    const QByteArray pdf = Writer(document).write();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(pdf) != pdf.size() ||
        !file.flush())
        return Result::failure(ResultCode::OutputFailed,
                               QStringLiteral("The PDF file %1 could not be written: %2")
                                   .arg(QDir::toNativeSeparators(path), file.errorString()));
    return Result::success();
}

} // namespace tv::report::directpdf
