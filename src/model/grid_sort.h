#pragma once
// The grids' one sort: stable, n log n, on keys computed once per row, so that a comparison
// never builds a text and rows with equal keys keep their order in both directions.

#include <QList>
#include <QString>

#include <algorithm>
#include <numeric>
#include <vector>

namespace orvanex::model {

// The positions of keys in sorted order (ascending or descending, equal keys in their order).
template <typename Key>
std::vector<qsizetype> stableOrder(const std::vector<Key>& keys, bool ascending) {
    std::vector<qsizetype> order(keys.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    if (ascending)
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return keys[size_t(a)] < keys[size_t(b)];
        });
    else
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return keys[size_t(b)] < keys[size_t(a)];
        });
    return order;
}

// Rearranges rows so that row i becomes the old rows[order[i]]; each row is moved once.
template <typename Row> void applyOrder(QList<Row>& rows, const std::vector<qsizetype>& order) {
    QList<Row> sorted;
    sorted.reserve(rows.size());
    for (qsizetype i : order)
        sorted.append(std::move(rows[i]));
    rows = std::move(sorted);
}

// The leading number of a text, as a grid's numeric sort reads it: blanks skipped, an optional
// sign, digits and one decimal point; anything else ends it ("12 KB" is 12, "" and "abc" are 0).
double leadingNumber(const QString& text);

} // namespace orvanex::model
