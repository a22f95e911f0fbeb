#include "fs/NameOrder.h"
#include <QCollator>
#include <QCollatorSortKey>
#include <algorithm>
#include <numeric>
#include <vector>

namespace vcl::fs {

namespace {

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

} // namespace

int compareNames(const QString& a, const QString& b)
{
    const int c = collator().compare(a, b);
    if (c != 0)
        return c < 0 ? -1 : 1;
    const int raw = a.compare(b);
    return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

// Sort keys are computed once per name: comparing keys is a byte compare,
// where comparing names through the collator redoes the folding each time.
void sortNames(QStringList& names)
{
    const qsizetype n = names.size();
    if (n < 2)
        return;
    std::vector<QCollatorSortKey> keys;
    keys.reserve(n);
    for (const QString& s : names)
        keys.push_back(collator().sortKey(s));
    std::vector<qsizetype> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = keys[a].compare(keys[b]);
        if (c != 0)
            return c < 0;
        return names[a] < names[b];
    });
    QStringList sorted;
    sorted.reserve(n);
    for (qsizetype i : order)
        sorted.append(std::move(names[i]));
    names = std::move(sorted);
}

} // namespace vcl::fs
