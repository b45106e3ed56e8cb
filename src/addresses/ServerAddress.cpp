#include "ServerAddress.h"

#include "app/Prompter.h"

#include <QHash>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

bool ServerAddress::parse(const QString& text, ServerAddress* out, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("Die Server-Adresse „") + text.left(200) + QStringLiteral("“ ist ungültig: ") + why +
                     QStringLiteral(" Richtig ist zum Beispiel postgresql://server:5432/adressen?user=name");
        return false;
    };
    static const QRegularExpression form(
        QStringLiteral("^postgres(?:ql)?://(?:([^@/?#]*)@)?(\\[[^\\]]*\\]|[^:/?#]*)(?::([^/?#]*))?/([^?#]*)(?:\\?([^#]*))?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (text.contains(QChar(0)))
        return fail(QStringLiteral("Sie enthält ein Nullzeichen."));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return fail(QStringLiteral("Server und Datenbank fehlen oder sind falsch geschrieben."));
    ServerAddress a;
    const QString userInfo = QUrl::fromPercentEncoding(m.captured(1).toUtf8());
    a.user = userInfo.section(QLatin1Char(':'), 0, 0);
    a.passwordGiven = userInfo.contains(QLatin1Char(':'));
    a.host = QUrl::fromPercentEncoding(m.captured(2).toUtf8());
    if (a.host.startsWith(QLatin1Char('[')))
        a.host = a.host.mid(1, a.host.size() - 2);
    if (a.host.isEmpty())
        return fail(QStringLiteral("Der Name des Servers fehlt."));
    if (!m.captured(3).isEmpty()) {
        bool ok = false;
        a.port = m.captured(3).toInt(&ok);
        if (!ok || a.port < 1 || a.port > 65535)
            return fail(QStringLiteral("Die Portnummer muss zwischen 1 und 65535 liegen."));
    }
    a.database = QUrl::fromPercentEncoding(m.captured(4).toUtf8());
    if (a.database.isEmpty())
        return fail(QStringLiteral("Der Name der Datenbank fehlt."));
    const QUrlQuery query(m.captured(5));
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == u"user")
            a.user = value;
        else if (key == u"sslmode") {
            static const QStringList modes{"disable", "allow", "prefer", "require", "verify-ca", "verify-full"};
            if (!modes.contains(value))
                return fail(QStringLiteral("sslmode kennt nur disable, allow, prefer, require, verify-ca und verify-full."));
            a.sslmode = value;
        } else if (key == u"password") {
            a.passwordGiven = true;
        } else {
            return fail(QStringLiteral("Die Angabe „") + key + QStringLiteral("“ ist unbekannt (erlaubt: user, sslmode)."));
        }
    }
    *out = a;
    return true;
}

QString ServerAddress::display() const
{
    // A socket folder says more than "localhost": several clusters may run on one machine.
    if (host.startsWith(QLatin1Char('/')))
        return QStringLiteral("Server im Ordner ") + host + QStringLiteral(", Port ") + QString::number(port) +
               QStringLiteral(", Datenbank ") + database;
    return QStringLiteral("Server ") + host + QLatin1Char(':') + QString::number(port) + QStringLiteral(", Datenbank ") +
           database;
}

QString ServerAddress::url() const
{
    QString h = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']')
                                                : QString::fromUtf8(QUrl::toPercentEncoding(host));
    QString s = QStringLiteral("postgresql://") + h + QLatin1Char(':') + QString::number(port) + QLatin1Char('/') +
                QString::fromUtf8(QUrl::toPercentEncoding(database));
    QStringList q;
    if (!user.isEmpty())
        q << QStringLiteral("user=") + QString::fromUtf8(QUrl::toPercentEncoding(user));
    if (!sslmode.isEmpty())
        q << QStringLiteral("sslmode=") + sslmode;
    return q.isEmpty() ? s : s + QLatin1Char('?') + q.join(QLatin1Char('&'));
}

namespace ServerPasswords {
namespace {
QHash<QString, QString>& passwords()
{
    static QHash<QString, QString> p;
    return p;
}
// A window asks through the prompter; the command line installs its own.
std::optional<QString> askThroughPrompter(const QString& title, const QString& prompt)
{
    return prompter().password(nullptr, title, prompt);
}
Asker installed = askThroughPrompter;
} // namespace

QString remembered(const QString& key) { return passwords().value(key); }
void remember(const QString& key, const QString& password) { passwords().insert(key, password); }
void forget(const QString& key) { passwords().remove(key); }
void setAsker(Asker a) { installed = a; }
Asker asker() { return installed; }
} // namespace ServerPasswords
