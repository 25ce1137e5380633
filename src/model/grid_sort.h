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
// Rows often arrive nearly in order (the registry lists its keys sorted; a second click reverses
// the first), so runs already in order are found first and merged, which costs n log(runs).
template <typename Key>
std::vector<qsizetype> stableOrder(const std::vector<Key>& keys, bool ascending) {
    const auto before = [&](qsizetype a, qsizetype b) {
        return ascending ? keys[size_t(a)] < keys[size_t(b)] : keys[size_t(b)] < keys[size_t(a)];
    };
    const qsizetype n = qsizetype(keys.size());
    std::vector<qsizetype> order(keys.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::vector<qsizetype> bounds{0}; // run i is [bounds[i], bounds[i + 1])
    for (qsizetype i = 0; i < n;) {
        qsizetype j = i + 1;
        if (j < n && before(order[size_t(j)], order[size_t(j - 1)])) {
            // Strictly falling, so reversing it cannot swap equal keys.
            while (j < n && before(order[size_t(j)], order[size_t(j - 1)]))
                ++j;
            std::reverse(order.begin() + i, order.begin() + j);
        } else {
            while (j < n && !before(order[size_t(j)], order[size_t(j - 1)]))
                ++j;
        }
        bounds.push_back(j);
        i = j;
    }
    std::vector<qsizetype> buffer(order.size());
    while (bounds.size() > 2) {
        const size_t runs = bounds.size() - 1;
        std::vector<qsizetype> merged{0};
        merged.reserve(runs / 2 + 2);
        for (size_t r = 0; r < runs; r += 2) {
            const qsizetype lo = bounds[r], mid = bounds[r + 1];
            const qsizetype hi = r + 1 < runs ? bounds[r + 2] : mid;
            // std::merge takes from the first run on ties: stable.
            std::merge(order.begin() + lo, order.begin() + mid, order.begin() + mid,
                       order.begin() + hi, buffer.begin() + lo, before);
            merged.push_back(hi);
        }
        order.swap(buffer);
        bounds.swap(merged);
    }
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
