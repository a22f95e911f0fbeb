#pragma once
// The order of names in the lists: the user's locale, without regard to case.
#include <QString>
#include <QStringList>

namespace vcl::fs {

// Sorts in place; names equal but for case keep a fixed order among
// themselves (by code units), so a listing never shuffles between readings.
void sortNames(QStringList& names);

// -1, 0 or 1 in the same order as sortNames.
int compareNames(const QString& a, const QString& b);

} // namespace vcl::fs
