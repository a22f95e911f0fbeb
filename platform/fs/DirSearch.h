#pragma once
// Directory search with the attributes the file controls go by. Entry types
// come from the directory entry itself; only links and file systems that
// don't report a type cost a stat.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vcl::fs {

class FileMask;

struct DirEntry {
    QString name;
    bool isFolder = false;
    bool hidden = false; // the name begins with "."
};

// Every entry of a real folder except "." and "..", unsorted. Left out
// silently: names that are not valid UTF-8 or that hold "\" or ":" (the drive
// form can't tell them from separators), dangling or looping links, and
// devices, pipes and sockets (the nearest thing to system files here).
// None when the folder can't be opened.
std::optional<std::vector<DirEntry>> readFolder(const QString& realPath);

// The visible files matching the mask, sorted by name without regard to
// case; a name matching two pieces of the mask comes twice. None when the
// folder can't be read.
std::optional<QStringList> findFiles(const QString& realPath, const QString& mask);

// The visible subfolders, sorted by name without regard to case.
std::optional<QStringList> findSubfolders(const QString& realPath);

} // namespace vcl::fs
