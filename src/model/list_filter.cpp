#include "model/list_filter.h"

#include "model/icon_location.h"
#include "model/registry_access.h"

namespace orvanex::model {

namespace {

QString typeText(const QString& typeName, const TypeFilterTexts& t) {
    return ListFilter::fold(typeName + u'\n' + t.openCommand + u'\n' + t.icon);
}

} // namespace

QString openCommandOf(const QString& defaultVerb, const QList<QPair<QString, QString>>& commands) {
    const QString wanted = defaultVerb.trimmed();
    for (const auto& [verb, command] : commands)
        if (!wanted.isEmpty() && verb.compare(wanted, Qt::CaseInsensitive) == 0)
            return command;
    for (const auto& [verb, command] : commands)
        if (verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0)
            return command;
    for (const auto& [verb, command] : commands)
        if (!command.isEmpty())
            return command;
    return QString();
}

TypeFilterTexts ReadTypeFilterTexts(reg::RegState& state, const QString& typeName) {
    TypeFilterTexts t;
    detail::OpenedKey typeKey(state, typeName);
    if (!typeKey.isOpen())
        return t;
    detail::OpenedKey shell(typeKey, QStringLiteral("Shell"));
    QString defaultVerb;
    shell.readText(QString(), QString(), &defaultVerb);
    QList<QPair<QString, QString>> commands;
    for (const QString& verb : shell.subkeys()) {
        QString command;
        shell.readText(verb + QStringLiteral("\\command"), QString(), &command);
        commands.append({verb, command});
    }
    if (!commands.isEmpty())
        t.openCommand = openCommandOf(defaultVerb, commands);
    QString icon;
    if (typeKey.readText(QStringLiteral("DefaultIcon"), QString(), &icon))
        t.icon = SplitIconLocation(icon).Raw; // as the start-up gathers it
    return t;
}

ListFilter::ListFilter(const QList<ExtensionEntry>& extensions,
                       const QHash<QString, TypeFilterTexts>& typeTexts) {
    m_typeOfExt.reserve(extensions.size());
    m_extText.reserve(extensions.size());
    for (const ExtensionEntry& e : extensions) {
        m_typeOfExt.insert(e.Ext, e.TypeName);
        const QString content = e.ContentType.trimmed();
        m_extText.insert(e.Ext, fold(e.KeyName + u'\n' + content));
        if (!content.isEmpty())
            m_contentTypes[e.TypeName] += fold(content) + u'\n';
    }
    m_typeText.reserve(typeTexts.size());
    for (auto it = typeTexts.cbegin(); it != typeTexts.cend(); ++it)
        m_typeText.insert(it.key(), typeText(it.key(), it.value()));
}

bool ListFilter::refreshType(const QString& typeName, const TypeFilterTexts& texts) {
    const QString text = typeText(typeName, texts);
    QString& known = m_typeText[typeName];
    if (known == text)
        return false;
    known = text;
    m_extRows.clear(); // made again as the rows are next tested
    m_typeRows.clear();
    return true;
}

QString ListFilter::typeTextOf(const QString& typeName) const {
    const auto text = m_typeText.constFind(typeName);
    return text != m_typeText.cend() ? text.value() : fold(typeName);
}

const QString& ListFilter::extensionRowText(const IndexRow& row) const {
    RowText& cached = m_extRows[row.name];
    if (cached.folded.isNull() || cached.name != row.name || cached.related != row.related) {
        QString text = fold(row.name + u'\n' + row.related) + u'\n' + m_extText.value(row.name);
        const auto type = m_typeOfExt.constFind(row.name);
        if (type != m_typeOfExt.cend())
            text += u'\n' + typeTextOf(type.value());
        cached = {row.name, row.related, text};
    }
    return cached.folded;
}

const QString& ListFilter::typeRowText(const IndexRow& row) const {
    RowText& cached = m_typeRows[row.related];
    if (cached.folded.isNull() || cached.name != row.name || cached.related != row.related) {
        QString text = fold(row.name + u'\n' + row.related);
        // Every extension of a type's row names the type: the first one tells which.
        const qsizetype blank = row.related.indexOf(u' ');
        const QString first = blank < 0 ? row.related : row.related.left(blank);
        const auto type = m_typeOfExt.constFind(first);
        if (type != m_typeOfExt.cend())
            text += u'\n' + m_contentTypes.value(type.value()) + u'\n' + typeTextOf(type.value());
        cached = {row.name, row.related, text};
    }
    return cached.folded;
}

bool ListFilter::extensionRowMatches(const IndexRow& row, const QString& folded) const {
    return extensionRowText(row).contains(folded);
}

bool ListFilter::typeRowMatches(const IndexRow& row, const QString& folded) const {
    return typeRowText(row).contains(folded);
}

void ListFilter::prepare(const QList<IndexRow>& extensionRows,
                         const QList<IndexRow>& typeRows) const {
    m_extRows.reserve(extensionRows.size());
    for (const IndexRow& r : extensionRows)
        extensionRowText(r);
    m_typeRows.reserve(typeRows.size());
    for (const IndexRow& r : typeRows)
        typeRowText(r);
}

QList<IndexRow> filterExtensionRows(const QList<IndexRow>& rows, const ListFilter& filter,
                                    const QString& text) {
    const QString folded = ListFilter::fold(text);
    QList<IndexRow> kept;
    for (const IndexRow& r : rows)
        if (filter.extensionRowMatches(r, folded))
            kept.append(r);
    return kept;
}

QList<IndexRow> filterTypeRows(const QList<IndexRow>& rows, const ListFilter& filter,
                               const QString& text) {
    const QString folded = ListFilter::fold(text);
    QList<IndexRow> kept;
    for (const IndexRow& r : rows)
        if (filter.typeRowMatches(r, folded))
            kept.append(r);
    return kept;
}

} // namespace orvanex::model
