#include "desktop/desktop_entry_text.h"

#include <QRegularExpression>

namespace orvanex::desktop {

namespace {

// A value inside a double-quoted Exec argument: ", `, $ and \ take a backslash.
QString quotedExecValue(const QString& value) {
    QString out;
    for (QChar c : value) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
    }
    // The desktop entry's own string escape doubles every backslash again.
    out.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return out;
}

// Newlines and tabs would end or break the key; the desktop entry escapes them.
QString entryValue(const QString& value) {
    QString out = value;
    out.replace(u'\n', QStringLiteral("\\n"));
    out.replace(u'\t', QStringLiteral("\\t"));
    out.replace(u'\r', QStringLiteral("\\r"));
    return out;
}

QString xmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

} // namespace

QString extensionOfFileName(const QString& fileName, const QString& prefix, const QString& suffix) {
    if (!fileName.startsWith(prefix) || !fileName.endsWith(suffix) ||
        fileName.size() <= prefix.size() + suffix.size())
        return QString();
    return u'.' + fileName.mid(prefix.size(), fileName.size() - prefix.size() - suffix.size());
}

QString extensionOfEntryName(const QString& fileName) {
    return extensionOfFileName(fileName, QStringLiteral("wine-extension-"),
                               QStringLiteral(".desktop"));
}

QString extensionOfPackageName(const QString& fileName) {
    return extensionOfFileName(fileName, QStringLiteral("x-wine-extension-"),
                               QStringLiteral(".xml"));
}

QString entryFileName(const QString& ext) {
    return QStringLiteral("wine-extension-") + ext.mid(1).toLower() + QStringLiteral(".desktop");
}

QString packageFileName(const QString& ext) {
    return QStringLiteral("x-wine-extension-") + ext.mid(1).toLower() + QStringLiteral(".xml");
}

QHash<QString, QString> desktopEntryKeys(const QByteArray& text) {
    QHash<QString, QString> keys;
    bool inGroup = false;
    for (QByteArray raw : text.split('\n')) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inGroup || line.startsWith(u'#') || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!keys.contains(key))
            keys.insert(key, line.mid(eq + 1).trimmed());
    }
    return keys;
}

QString prefixOfExec(const QString& exec, const QString& defaultPrefix) {
    // Undo the desktop entry's string escape first, then read the quoted argument.
    QString line = exec;
    line.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    const QString key = QStringLiteral("WINEPREFIX=");
    const qsizetype at = line.indexOf(key);
    if (at < 0)
        return defaultPrefix;
    qsizetype i = at + key.size();
    QString value;
    if (i < line.size() && line[i] == u'"') {
        for (++i; i < line.size() && line[i] != u'"'; ++i) {
            if (line[i] == u'\\' && i + 1 < line.size())
                ++i;
            value += line[i];
        }
    } else {
        while (i < line.size() && !line[i].isSpace())
            value += line[i++];
    }
    return value.isEmpty() ? defaultPrefix : value;
}

QString progIdOfExec(const QString& exec) {
    static const QRegularExpression re(QStringLiteral("/ProgIDOpen\\s+(\\S+)"));
    const QRegularExpressionMatch m = re.match(exec);
    return m.hasMatch() ? m.captured(1) : QString();
}

QStringList iconFileNames(const QString& iconName) {
    return {iconName + QStringLiteral(".png"), iconName + QStringLiteral(".svg"),
            iconName + QStringLiteral(".xpm")};
}

QByteArray associationEntryText(const AssociationEntry& e) {
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += QStringLiteral("Name=") + entryValue(e.appName) + u'\n';
    text += QStringLiteral("MimeType=") + entryValue(e.mimeType) + QStringLiteral(";\n");
    text += QStringLiteral("Exec=");
    if (!e.prefix.isEmpty())
        text +=
            QStringLiteral("env WINEPREFIX=\"") + quotedExecValue(e.prefix) + QStringLiteral("\" ");
    text +=
        QStringLiteral("wine start /ProgIDOpen ") + entryValue(e.progId) + QStringLiteral(" %f\n");
    text += QStringLiteral("NoDisplay=true\nStartupNotify=true\n");
    if (!e.icon.isEmpty())
        text += QStringLiteral("Icon=") + entryValue(e.icon) + u'\n';
    return text.toUtf8();
}

QByteArray mimePackageText(const QString& mimeType, const QString& ext, const QString& comment) {
    QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info "
                       "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    text += QStringLiteral("  <mime-type type=\"") + xmlEscaped(mimeType) + QStringLiteral("\">\n");
    text += QStringLiteral("    <glob pattern=\"*") + xmlEscaped(ext.toLower()) +
            QStringLiteral("\"/>\n");
    if (!comment.isEmpty())
        text +=
            QStringLiteral("    <comment>") + xmlEscaped(comment) + QStringLiteral("</comment>\n");
    text += QStringLiteral("  </mime-type>\n</mime-info>\n");
    return text.toUtf8();
}

QString packageMimeType(const QByteArray& text) {
    static const QRegularExpression re(QStringLiteral("<mime-type\\s+type=\"([^\"]+)\""));
    const QRegularExpressionMatch m = re.match(QString::fromUtf8(text));
    return m.hasMatch() ? m.captured(1) : QString();
}

QString packageIconName(const QByteArray& text) {
    static const QRegularExpression re(QStringLiteral("<icon\\s+name=\"([^\"]+)\""));
    const QRegularExpressionMatch m = re.match(QString::fromUtf8(text));
    if (m.hasMatch())
        return m.captured(1);
    QString type = packageMimeType(text);
    return type.replace(u'/', u'-');
}

} // namespace orvanex::desktop
