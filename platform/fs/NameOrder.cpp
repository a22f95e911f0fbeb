#include "fs/NameOrder.h"
#include <QCollator>
#include <QCollatorSortKey>
#include <algorithm>
#include <numeric>
#include <vector>

namespace vcl::fs {

namespace {

// In the C and POSIX locales the collator compares code units, case
// included; the order there is the case-folded code-unit order instead,
// which folding once per name gives cheaply.
bool localeHasCollation()
{
    static const bool has = QLocale().language() != QLocale::C;
    return has;
}

const QCollator& collator()
{
    static const QCollator c = [] {
        QCollator k{QLocale()};
        k.setCaseSensitivity(Qt::CaseInsensitive);
        k.setNumericMode(false);
        k.setIgnorePunctuation(false);
        return k;
    }();
    return c;
}

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

template <typename Key>
void sortByKeys(QStringList& names, const std::vector<Key>& keys, int (*cmp)(const Key&, const Key&))
{
    const qsizetype n = names.size();
    std::vector<qsizetype> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = cmp(keys[a], keys[b]);
        if (c != 0)
            return c < 0;
        return names[a] < names[b]; // names equal but for case: a fixed order
    });
    QStringList sorted;
    sorted.reserve(n);
    for (qsizetype i : order)
        sorted.append(std::move(names[i]));
    names = std::move(sorted);
}

int compareCollationKeys(const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b); }
int compareFolded(const QString& a, const QString& b) { return a.compare(b); }

} // namespace

int compareNames(const QString& a, const QString& b)
{
    const int c = localeHasCollation() ? collator().compare(a, b) : a.toCaseFolded().compare(b.toCaseFolded());
    if (c != 0)
        return sign(c);
    return sign(a.compare(b));
}

// One key per name, then plain key comparisons: the collator (or the
// folding) runs n times instead of n log n.
void sortNames(QStringList& names)
{
    if (names.size() < 2)
        return;
    if (localeHasCollation()) {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(names.size());
        for (const QString& s : names)
            keys.push_back(collator().sortKey(s));
        sortByKeys(names, keys, compareCollationKeys);
    } else {
        std::vector<QString> keys;
        keys.reserve(names.size());
        for (const QString& s : names)
            keys.push_back(s.toCaseFolded());
        sortByKeys(names, keys, compareFolded);
    }
}

} // namespace vcl::fs
