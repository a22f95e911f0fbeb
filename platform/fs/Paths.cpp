#include "fs/Paths.h"
#include "fs/Volumes.h"
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringList>
#include <dirent.h>
#include <mutex>

namespace vcl::fs {

namespace {

bool isSep(QChar c) { return c == u'\\' || c == u':'; }

bool isLetterDrive(const QString& s)
{
    return s.size() >= 2 && s[1] == u':' && s[0].unicode() < 0x80 && s[0].isLetter();
}

bool isUnc(const QString& s) { return s.startsWith(QLatin1String("\\\\")); }

// "\\server\share" from the front of a UNC path, or empty when the share is
// missing.
QString uncPrefix(const QString& s)
{
    const qsizetype server = s.indexOf(u'\\', 2);
    if (server <= 2)
        return {};
    qsizetype share = s.indexOf(u'\\', server + 1);
    if (share < 0)
        share = s.size();
    if (share == server + 1)
        return {};
    return s.left(share);
}

QString joinComponents(const QString& prefix, const QStringList& parts)
{
    return prefix + u'\\' + parts.join(u'\\');
}

// "." and ".." resolved; empty components dropped.
QStringList normalised(const QStringList& raw)
{
    QStringList out;
    for (const QString& p : raw) {
        if (p.isEmpty() || p == QLatin1String("."))
            continue;
        if (p == QLatin1String("..")) {
            if (!out.isEmpty())
                out.removeLast();
            continue;
        }
        out.append(p);
    }
    return out;
}

struct FolderState {
    std::mutex lock;
    bool initialised = false;
    QString start;
    QString current;
    QHash<QChar, QString> perDrive;
};

FolderState& state()
{
    static FolderState s;
    return s;
}

// Caller holds the lock.
void initialiseLocked(FolderState& s)
{
    if (s.initialised)
        return;
    s.initialised = true;
    s.start = toDrivePath(QDir::currentPath()).value_or(QStringLiteral("C:\\"));
    s.current = s.start;
    if (isLetterDrive(s.start))
        s.perDrive[s.start[0].toUpper()] = s.start;
}

} // namespace

QString ExtractFilePath(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isSep(path[i]))
            return path.left(i + 1);
    return {};
}

QString ExtractFileDir(const QString& path)
{
    const QString p = ExtractFilePath(path);
    if (p.size() > 1 && p.endsWith(u'\\') && !isSep(p[p.size() - 2]) && !isDriveRoot(p))
        return p.left(p.size() - 1);
    return p;
}

QString ExtractFileName(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isSep(path[i]))
            return path.mid(i + 1);
    return path;
}

QString ExtractFileExt(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (path[i] == u'.')
            return path.mid(i);
        if (isSep(path[i]))
            return {};
    }
    return {};
}

QString ExtractFileDrive(const QString& path)
{
    if (isLetterDrive(path))
        return path.left(2);
    if (isUnc(path))
        return uncPrefix(path);
    return {};
}

QString IncludeTrailingBackslash(const QString& path)
{
    return path.endsWith(u'\\') ? path : path + u'\\';
}

QString ExcludeTrailingBackslash(const QString& path)
{
    if (!path.endsWith(u'\\') || isDriveRoot(path) || path == QLatin1String("\\"))
        return path;
    return path.left(path.size() - 1);
}

QString joinDrivePath(const QString& folder, const QString& name)
{
    return folder.endsWith(u'\\') ? folder + name : folder + u'\\' + name;
}

bool isDriveRoot(const QString& path)
{
    if (isLetterDrive(path))
        return path.size() == 2 || (path.size() == 3 && path[2] == u'\\');
    if (isUnc(path)) {
        const QString prefix = uncPrefix(path);
        return !prefix.isEmpty() && (path.size() == prefix.size() || (path.size() == prefix.size() + 1 && path.endsWith(u'\\')));
    }
    return false;
}

QString expandDrivePath(const QString& text)
{
    QString t = text;
    t.replace(u'/', u'\\');
    QString prefix;
    QString rest;
    if (isUnc(t)) {
        prefix = uncPrefix(t);
        if (prefix.isEmpty())
            return {};
        rest = t.mid(prefix.size());
    } else if (isLetterDrive(t)) {
        prefix = t.left(2).toUpper();
        rest = t.mid(2);
        if (!rest.startsWith(u'\\'))
            rest = joinDrivePath(driveCurrentFolder(prefix[0]), rest).mid(2);
    } else {
        const QString cur = currentFolder();
        prefix = ExtractFileDrive(cur);
        rest = t.startsWith(u'\\') ? t : cur.mid(prefix.size()) + u'\\' + t;
    }
    return joinComponents(prefix, normalised(rest.split(u'\\')));
}

std::optional<QString> toRealPath(const QString& drivePath)
{
    // The system's calls stop at a NUL: such a path would name another file.
    if (drivePath.contains(QChar(0)))
        return std::nullopt;
    QString prefix = ExtractFileDrive(drivePath);
    if (prefix.isEmpty())
        return std::nullopt;
    QString rest = drivePath.mid(prefix.size());
    std::optional<Drive> drive;
    if (isLetterDrive(prefix)) {
        drive = driveByLetter(prefix[0]);
    } else {
        // The longest remote name that starts the path names the share.
        qsizetype best = -1;
        for (const Drive& d : currentDrives()) {
            const QString& r = d.remoteName;
            if (d.type != DriveType::Network || r.isEmpty() || r.size() <= best)
                continue;
            if (drivePath.startsWith(r, Qt::CaseInsensitive)
                && (drivePath.size() == r.size() || drivePath[r.size()] == u'\\')) {
                best = r.size();
                drive = d;
            }
        }
        if (drive)
            rest = drivePath.mid(best);
    }
    if (!drive || !drive->ready)
        return std::nullopt;
    const QStringList parts = normalised(rest.split(u'\\'));
    QString real = drive->root;
    for (const QString& p : parts) {
        if (p.contains(u'/') || p.contains(u':'))
            return std::nullopt;
        if (!real.endsWith(u'/'))
            real += u'/';
        real += p;
    }
    return real;
}

std::optional<QString> toDrivePath(const QString& realPath)
{
    const QString clean = QDir::cleanPath(realPath);
    if (!clean.startsWith(u'/'))
        return std::nullopt;
    const Drive* best = nullptr;
    const QList<Drive> drives = currentDrives();
    for (const Drive& d : drives) {
        const bool under = d.root == QLatin1String("/")
            || clean == d.root || clean.startsWith(d.root + u'/');
        if (under && (!best || d.root.size() > best->root.size()))
            best = &d;
    }
    if (!best)
        return std::nullopt;
    const QString rel = best->root == QLatin1String("/") ? clean.mid(1) : clean.mid(best->root.size() + 1);
    const QStringList parts = rel.split(u'/', Qt::SkipEmptyParts);
    for (const QString& p : parts)
        if (p.contains(u'\\') || p.contains(u':'))
            return std::nullopt;
    return QString(best->letter) + QStringLiteral(":\\") + parts.join(u'\\');
}

QString startFolder()
{
    FolderState& s = state();
    std::lock_guard lock(s.lock);
    initialiseLocked(s);
    return s.start;
}

QString currentFolder()
{
    FolderState& s = state();
    std::lock_guard lock(s.lock);
    initialiseLocked(s);
    return s.current;
}

QString driveCurrentFolder(QChar letter)
{
    const QChar up = letter.toUpper();
    FolderState& s = state();
    std::lock_guard lock(s.lock);
    initialiseLocked(s);
    return s.perDrive.value(up, QString(up) + QStringLiteral(":\\"));
}

std::optional<QString> enterableFolder(const QString& drivePath)
{
    const std::optional<QString> real = toRealPath(drivePath);
    if (!real)
        return std::nullopt;
    DIR* dir = ::opendir(QFile::encodeName(*real).constData());
    if (!dir)
        return std::nullopt;
    ::closedir(dir);
    return real;
}

bool setCurrentFolder(const QString& drivePath)
{
    const QString full = expandDrivePath(drivePath);
    if (full.isEmpty() || !enterableFolder(full))
        return false;
    FolderState& s = state();
    std::lock_guard lock(s.lock);
    initialiseLocked(s);
    s.current = full;
    if (isLetterDrive(full))
        s.perDrive[full[0]] = full;
    return true;
}

void resetCurrentFolders()
{
    FolderState& s = state();
    std::lock_guard lock(s.lock);
    initialiseLocked(s);
    s.current = s.start;
    s.perDrive.clear();
    if (isLetterDrive(s.start))
        s.perDrive[s.start[0]] = s.start;
}

} // namespace vcl::fs
