#include "report_test_support.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace tv::report::testing {

namespace {

// Statements of a script, split at semicolons that end a line (outside a trigger body).
QStringList statements(const QString& script)
{
    QStringList out;
    QString current;
    bool inBody = false;
    for (const QString& raw : script.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("--")) || (line.isEmpty() && current.isEmpty()))
            continue;
        current += raw + u'\n';
        const QString upper = line.toUpper();
        if (upper.endsWith(QLatin1String("BEGIN")))
            inBody = true;
        if (inBody && (upper == QLatin1String("END;") || upper == QLatin1String("END"))) {
            inBody = false;
            out.append(current.trimmed());
            current.clear();
            continue;
        }
        if (!inBody && line.endsWith(u';')) {
            out.append(current.trimmed());
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        out.append(current.trimmed());
    return out;
}

template <typename F> bool withDatabase(const QString& path, QString* error, F work)
{
    const QString name =
        QStringLiteral("report-test-%1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            ok = work(db);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QByteArray logoPng()
{
    QImage image(240, 240, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1F, 0x38, 0x64));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(8, 8, 224, 224));
    p.setBrush(Qt::white);
    // A bowling pin.
    QPainterPath pin;
    pin.moveTo(120, 40);
    pin.cubicTo(140, 40, 142, 70, 134, 92);
    pin.cubicTo(128, 108, 160, 140, 156, 180);
    pin.cubicTo(152, 206, 88, 206, 84, 180);
    pin.cubicTo(80, 140, 112, 108, 106, 92);
    pin.cubicTo(98, 70, 100, 40, 120, 40);
    p.drawPath(pin);
    p.setBrush(QColor(0xC0, 0x39, 0x2B));
    p.drawRect(QRectF(108, 96, 24, 6));
    p.drawRect(QRectF(107, 106, 26, 6));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

QString createDatabase(const QString& folder, QString* error)
{
    const QString path = QDir(folder).filePath(QStringLiteral("Pelkin.mdb"));
    QStringList scripts;
    QDirIterator it(QStringLiteral(":/schema"), {QStringLiteral("*.sql")}, QDir::Files);
    while (it.hasNext())
        scripts.append(it.next());
    scripts.sort();
    if (scripts.isEmpty()) {
        if (error)
            *error = QStringLiteral("no schema scripts in the data layer's resources");
        return {};
    }
    const bool ok = withDatabase(path, error, [&](QSqlDatabase& db) {
        db.transaction();
        for (const QString& script : scripts) {
            QFile f(script);
            if (!f.open(QIODevice::ReadOnly))
                return false;
            for (const QString& sql : statements(QString::fromUtf8(f.readAll()))) {
                QSqlQuery q(db);
                if (!q.exec(sql)) {
                    if (error)
                        *error = QStringLiteral("%1: %2").arg(sql.left(80), q.lastError().text());
                    db.rollback();
                    return false;
                }
            }
        }
        // The starter content may hold an example job; the fixtures make their own.
        QSqlQuery clear(db);
        if (!clear.exec(QStringLiteral("DELETE FROM [Job Items]")) ||
            !clear.exec(QStringLiteral("DELETE FROM [Job Information]"))) {
            if (error)
                *error = clear.lastError().text();
            db.rollback();
            return false;
        }
        return db.commit();
    });
    return ok ? path : QString();
}

bool exec(const QString& databasePath, const QString& sql, const QVariantList& values, QString* error)
{
    return withDatabase(databasePath, error, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec()) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
        return true;
    });
}

bool fillCompany(const QString& path, QString* error)
{
    return exec(path,
                QStringLiteral(
                    "UPDATE [Your Information] SET [Company Name] = ?, [Company Address 1] = ?, "
                    "[Company Address 2] = ?, [Company Address 3] = ?, [Company Address 4] = ?, "
                    "[Company Address 5] = ?, [Company Phone] = ?, [Company Fax] = ?, [Salesman Name] = ?, "
                    "[Your email] = ?, [Your internet] = ?"),
                {QStringLiteral("Pelkin Bowling Supply Inc."), QStringLiteral("2150 Industrial Parkway"),
                 QStringLiteral("Muskegon, Michigan 49442"), QStringLiteral("United States of America"),
                 QString(), QString(), QStringLiteral("(231) 555-0147"), QStringLiteral("(231) 555-0148"),
                 QStringLiteral("Dan Pelkin"), QStringLiteral("dan@pelkinbowling.example"),
                 QStringLiteral("www.pelkinbowling.example")},
                error) &&
           exec(path,
                QStringLiteral(
                    "UPDATE [Factors] SET P72 = ?, P60 = ?, P48 = ?, P36 = ?, P572 = ?, P560 = ?, P548 = ?, "
                    "P536 = ?, P1072 = ?, P1060 = ?, P1048 = ?, P1036 = ?, S72 = ?, S60 = ?, S48 = ?, "
                    "S36 = ?, L72 = ?, L60 = ?, L48 = ?, L36 = ?"),
                {0.01766, 0.02012, 0.02395, 0.03038, 0.01741, 0.01987, 0.02370, 0.03012, 0.01712, 0.01958,
                 0.02276, 0.02985, 0.01835, 0.02108, 0.02531, 0.03262, 0.01598, 0.01843, 0.02215, 0.02846},
                error) &&
           exec(path, QStringLiteral("UPDATE [LogoData] SET [Logo] = ?"), {logoPng()}, error);
}

int addJob(const QString& path, const QVariantMap& fields, QString* error)
{
    QStringList names, marks;
    QVariantList values;
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it) {
        names.append(QStringLiteral("[%1]").arg(it.key()));
        marks.append(QStringLiteral("?"));
        values.append(it.value());
    }
    int number = -1;
    const bool ok = withDatabase(path, error, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO [Job Information] (%1) VALUES (%2)")
                      .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec()) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
        number = q.lastInsertId().toInt();
        return true;
    });
    return ok ? number : -1;
}

bool addLines(const QString& path, int job, const QList<Line>& lines, QString* error)
{
    return withDatabase(path, error, [&](QSqlDatabase& db) {
        db.transaction();
        QSqlQuery q(db);
        q.prepare(QStringLiteral(
            "INSERT INTO [Job Items] ([Recordno], [Item Name], [Item Category], [Schedule], "
            "[Item Qty], [Item Condition], [Item Price], [Item Notes]) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const Line& l : lines) {
            q.addBindValue(job);
            q.addBindValue(l.name);
            q.addBindValue(l.category);
            q.addBindValue(l.schedule);
            q.addBindValue(l.qty);
            q.addBindValue(l.condition);
            q.addBindValue(l.price);
            q.addBindValue(l.notes.isEmpty() ? QVariant() : QVariant(l.notes));
            if (!q.exec()) {
                if (error)
                    *error = q.lastError().text();
                db.rollback();
                return false;
            }
        }
        return db.commit();
    });
}

QVariantMap internationalJob()
{
    return {
        {QStringLiteral("AutoNumber"), 17},
        {QStringLiteral("Quote Date"), QStringLiteral("03/12/2024")},
        {QStringLiteral("Job Name"), QStringLiteral("Star Bowl Pudong")},
        {QStringLiteral("Job Address 1"), QStringLiteral("Level 3, Century Mall")},
        {QStringLiteral("Job Address 2"), QStringLiteral("88 Century Avenue, Pudong")},
        {QStringLiteral("Job Address 3"), QStringLiteral("Shanghai 200120")},
        {QStringLiteral("Job Address 4"), QStringLiteral("China")},
        {QStringLiteral("Job Address 5"), QString()},
        {QStringLiteral("EMail"), QStringLiteral("li.wei@starleisure.example")},
        {QStringLiteral("Job Phone"), QStringLiteral("+86 21 5555 0101")},
        {QStringLiteral("Job Fax"), QStringLiteral("+86 21 5555 0102")},
        {QStringLiteral("Commission"), 10.0},
        {QStringLiteral("Customer Name"), QStringLiteral("Shanghai Star Leisure Co. Ltd")},
        {QStringLiteral("Customer Address 1"), QStringLiteral("Room 1802, Jin Mao Tower")},
        {QStringLiteral("Customer Address 2"), QStringLiteral("88 Century Avenue")},
        {QStringLiteral("Customer Address 3"), QStringLiteral("Pudong, Shanghai 200120")},
        {QStringLiteral("Customer Address 4"), QStringLiteral("People's Republic of China")},
        {QStringLiteral("Customer Address 5"), QString()},
        {QStringLiteral("Customer Phone"), QStringLiteral("+86 21 5555 0100")},
        {QStringLiteral("Customer Fax"), QStringLiteral("+86 21 5555 0109")},
        {QStringLiteral("Time Period"), QStringLiteral("60 Days")},
        {QStringLiteral("Shipment Terms"), QStringLiteral("CIF China Main Port")},
        {QStringLiteral("Payment Terms"),
         QStringLiteral("30% deposit with order, balance by irrevocable Letter of Credit at sight")},
        {QStringLiteral("Deposit Amount"), QStringLiteral("$125,000.00")},
        {QStringLiteral("US Inland Freight"), QStringLiteral("Seller")},
        {QStringLiteral("Intl Inland Freight"), QStringLiteral("Buyer")},
        {QStringLiteral("Insurance"), QStringLiteral("Seller")},
        {QStringLiteral("Ocean Freight"), QStringLiteral("Seller")},
        {QStringLiteral("Warranty New"), QStringLiteral("1 Year")},
        {QStringLiteral("Warranty Used"), QStringLiteral("90 Days")},
        {QStringLiteral("Warranty Electrical"), QStringLiteral("6 Months")},
        {QStringLiteral("Warranty Buy Out"), QStringLiteral("2 Years")},
        {QStringLiteral("Delivery Time"), QStringLiteral("90")},
        {QStringLiteral("Delivery Time Special Orders"), QStringLiteral("120")},
        {QStringLiteral("Machine Type"), QStringLiteral("AMF 82-70 Pinsetters")},
        {QStringLiteral("Machine Voltage"), QStringLiteral("380V 50Hz 3 Phase")},
        {QStringLiteral("# of Lanes"), QStringLiteral("32")},
        {QStringLiteral("# of Posts"), QStringLiteral("16")},
        {QStringLiteral("# of Jobs"), QStringLiteral("1")},
        {QStringLiteral("Country Destination"), QStringLiteral("China")},
        {QStringLiteral("ContractNotes"),
         QStringLiteral(
             "30% of the contract price is paid by wire transfer on signature of this agreement.\r\n"
             "The balance of 70% is paid by irrevocable Letter of Credit at sight, to be opened within 15 "
             "days of contract signature.\r\nPartial shipments allowed. Transshipment allowed.")},
        {QStringLiteral("Notes"), QStringLiteral("Customer visits the factory in April.")},
    };
}

QList<Line> internationalLines()
{
    return {
        {QStringLiteral("AMF 82-70 Pinsetter, Remanufactured"), 10, QStringLiteral("A"), 32,
         QStringLiteral("Remanufactured"), QStringLiteral("9450.0000"),
         QStringLiteral(
             "Completely remanufactured with new deck parts, belts and bearings. Includes pinwheel and "
             "distributor.")},
        {QStringLiteral("Pinsetter Spare Parts Kit"), 20, QStringLiteral("A"), 1, QStringLiteral("New"),
         QStringLiteral("18750.0000"), QStringLiteral("Recommended stock of wear parts for 32 lanes.")},
        {QStringLiteral("Pit Light"),
         30,
         QStringLiteral("A"),
         32,
         QStringLiteral("New"),
         QStringLiteral("185.5000"),
         {}},
        {QStringLiteral("Color Automatic Scoring System"), 2, QStringLiteral("B"), 32, QStringLiteral("New"),
         QStringLiteral("3950.0000"),
         QStringLiteral("Overhead monitors, bowler consoles and front desk control.")},
        {QStringLiteral("Front Desk Control Console"),
         10,
         QStringLiteral("B"),
         1,
         QStringLiteral("New"),
         QStringLiteral("2800.0000"),
         {}},
        {QStringLiteral("Rental Shoes, Assorted Sizes"),
         40,
         QStringLiteral("B"),
         240,
         QStringLiteral("New"),
         QStringLiteral("24.9500"),
         {}},
        {QStringLiteral("Installation & Supervision"), 110, QStringLiteral("C"), 32, QStringLiteral("N/A"),
         QStringLiteral("1250.0000"), QStringLiteral("Two installers on site for the whole installation.")},
        {QStringLiteral("Mechanic Training, 2 Weeks"), 120, QStringLiteral("C"), 1, QStringLiteral("N/A"),
         QStringLiteral("0.0000"), QStringLiteral("Included at no charge.")},
    };
}

qint64 totalUnits(const QList<Line>& lines)
{
    qint64 total = 0;
    for (const Line& l : lines) {
        const auto units = tv::report::money::parse(l.price);
        total += qint64(l.qty) * units.value_or(0);
    }
    return total;
}

QString layoutFolder()
{
    return QStringLiteral(TARVENOR_LAYOUT_DIR);
}

bool copyLayouts(const QString& folder, QString* error)
{
    const QDir source(layoutFolder());
    const QStringList files = source.entryList({QStringLiteral("*.rpt")}, QDir::Files);
    if (files.isEmpty()) {
        if (error)
            *error = QStringLiteral("no layouts in %1").arg(source.path());
        return false;
    }
    for (const QString& f : files) {
        const QString target = QDir(folder).filePath(f);
        QFile::remove(target);
        if (!QFile::copy(source.filePath(f), target)) {
            if (error)
                *error = QStringLiteral("cannot copy %1").arg(f);
            return false;
        }
    }
    return true;
}

Result RecordingOutput::preview(const std::shared_ptr<const Document>& document, const PrintRequest& request)
{
    calls.append({QStringLiteral("preview"), request, document});
    return answer;
}

Result RecordingOutput::print(const std::shared_ptr<const Document>& document, const PrintRequest& request)
{
    calls.append({QStringLiteral("print"), request, document});
    return answer;
}

QStringList allTexts(const Document& document)
{
    QStringList out;
    for (int i = 0; i < document.pageCount(); ++i)
        out += document.pageTexts(i);
    return out;
}

} // namespace tv::report::testing
