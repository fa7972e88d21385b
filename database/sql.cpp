#include "database/sql.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace tv::db {

QString translate(const QString& statement)
{
    static const QRegularExpression selectInto(
        QStringLiteral(R"(^\s*SELECT\s+(.+?)\s+INTO\s+(\[[^\]]+\]|[A-Za-z_][\w]*)\s*FROM\s+(.+?)\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto match = selectInto.match(statement);
    if (!match.hasMatch())
        return statement;
    return QStringLiteral("CREATE TABLE %1 AS SELECT %2 FROM %3")
        .arg(match.captured(2), match.captured(1), match.captured(3));
}

bool execute(QSqlDatabase db, const QString& statement, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(translate(statement)))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

QStringList splitStatements(const QString& script)
{
    QStringList statements;
    QString current;
    QChar quote;
    bool bracket = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!quote.isNull()) {
            current += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (bracket) {
            current += c;
            if (c == u']')
                bracket = false;
            continue;
        }
        if (c == u'-' && i + 1 < script.size() && script.at(i + 1) == u'-') {
            while (i < script.size() && script.at(i) != u'\n')
                ++i;
            current += u'\n';
            continue;
        }
        if (c == u'\'' || c == u'"')
            quote = c;
        else if (c == u'[')
            bracket = true;
        if (c == u';') {
            if (!current.trimmed().isEmpty())
                statements.append(current.trimmed());
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}

QString quoteName(const QString& name)
{
    QString inner = name;
    if (inner.startsWith(u'[') && inner.endsWith(u']'))
        return inner;
    return u'[' + inner + u']';
}

} // namespace tv::db
