#pragma once
// The filter of the index lists: a row stays when its extension, type key, description, content
// type, open command or icon contains the text, without regard to case. The texts that the rows
// do not show are folded once, so that a keystroke costs one search per row.

#include "model/file_type_model.h"
#include "model/grid_rows.h"
#include "registry/reg_state.h"

#include <QHash>
#include <QString>

namespace orvanex::model {

// What a type's row is also found by.
struct TypeFilterTexts {
    QString openCommand; // the command a double click runs (see openCommandOf)
    QString icon;        // the DefaultIcon value
};
// The command of Shell's default verb, else of "open", else of the first verb that has one.
QString openCommandOf(const QString& defaultVerb, const QList<QPair<QString, QString>>& commands);
// Reads both of a type from the registry (what the start-up gathers for every type).
TypeFilterTexts ReadTypeFilterTexts(reg::RegState& state, const QString& typeName);

class ListFilter {
public:
    ListFilter() = default;
    ListFilter(const QList<ExtensionEntry>& extensions,
               const QHash<QString, TypeFilterTexts>& typeTexts);
    // A type's texts after an edit (or for a type added since); true when they changed.
    bool refreshType(const QString& typeName, const TypeFilterTexts& texts);

    // The filter text as rows are compared with it.
    static QString fold(const QString& text) { return text.toCaseFolded(); }
    bool extensionRowMatches(const IndexRow& row, const QString& foldedText) const;
    bool typeRowMatches(const IndexRow& row, const QString& foldedText) const;
    // Folds every row's texts ahead of the first keystroke (they are folded on first use else).
    void prepare(const QList<IndexRow>& extensionRows, const QList<IndexRow>& typeRows) const;

private:
    // All texts a row is found by, folded into one, with the row texts it was made from: a
    // keystroke then costs one case-sensitive search per row, and an edited row is made again.
    struct RowText {
        QString name;
        QString related;
        QString folded;
    };
    const QString& extensionRowText(const IndexRow& row) const;
    const QString& typeRowText(const IndexRow& row) const;
    QString typeTextOf(const QString& typeName) const;

    mutable QHash<QString, RowText> m_extRows;  // by the row's Ext
    mutable QHash<QString, RowText> m_typeRows; // by the row's extensions
    QHash<QString, QString> m_typeOfExt;        // Ext to TypeName
    QHash<QString, QString> m_extText;          // Ext: its key name and content type, folded
    QHash<QString, QString> m_typeText;         // TypeName: key, command and icon, folded
    QHash<QString, QString> m_contentTypes;     // TypeName: its extensions' content types, folded
};

// The rows of a list that the filter keeps (the list's own order).
QList<IndexRow> filterExtensionRows(const QList<IndexRow>& rows, const ListFilter& filter,
                                    const QString& text);
QList<IndexRow> filterTypeRows(const QList<IndexRow>& rows, const ListFilter& filter,
                               const QString& text);

} // namespace orvanex::model
