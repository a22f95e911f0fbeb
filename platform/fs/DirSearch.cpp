#include "fs/DirSearch.h"
#include "fs/NameOrder.h"
#include "fs/Wildcard.h"
#include <QFile>
#include <QStringDecoder>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vcl::fs {

namespace {

class DirHandle {
public:
    explicit DirHandle(const QString& path) : m_dir(::opendir(QFile::encodeName(path).constData())) {}
    ~DirHandle()
    {
        if (m_dir)
            ::closedir(m_dir);
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    DIR* get() const { return m_dir; }

private:
    DIR* m_dir;
};

// Names are taken as UTF-8 whatever the locale says: they must come back to
// the same bytes when the folder is entered or the file opened.
class NameDecoder {
public:
    std::optional<QString> decode(const char* raw)
    {
        const size_t len = std::strlen(raw);
        bool ascii = true;
        for (size_t i = 0; i < len && ascii; ++i)
            ascii = static_cast<unsigned char>(raw[i]) < 0x80;
        if (ascii)
            return QString::fromLatin1(raw, static_cast<qsizetype>(len));
        QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = dec.decode(QByteArrayView(raw, static_cast<qsizetype>(len)));
        if (dec.hasError())
            return std::nullopt;
        return s;
    }
};

enum class Kind { Folder, File, Other };

Kind kindOf(DIR* dir, const dirent* e)
{
    switch (e->d_type) {
    case DT_DIR:
        return Kind::Folder;
    case DT_REG:
        return Kind::File;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st {};
        // Follows the link; a dangling or looping one fails and is dropped.
        if (::fstatat(::dirfd(dir), e->d_name, &st, 0) != 0)
            return Kind::Other;
        if (S_ISDIR(st.st_mode))
            return Kind::Folder;
        return S_ISREG(st.st_mode) ? Kind::File : Kind::Other;
    }
    default:
        return Kind::Other;
    }
}

// Calls take(entry, dir) for every entry but "." and ".." whose name the
// drive form can show; false when the folder can't be opened. A folder
// removed while it is read just ends the listing early.
template <typename Take>
bool scanFolder(const QString& realPath, Take&& take)
{
    DirHandle dir(realPath);
    if (!dir.get())
        return false;
    while (const dirent* e = ::readdir(dir.get())) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        if (std::strchr(n, '\\') || std::strchr(n, ':'))
            continue;
        take(e, dir.get());
    }
    return true;
}

} // namespace

std::optional<std::vector<DirEntry>> readFolder(const QString& realPath)
{
    std::vector<DirEntry> out;
    NameDecoder decoder;
    const bool ok = scanFolder(realPath, [&](const dirent* e, DIR* dir) {
        const Kind kind = kindOf(dir, e);
        if (kind == Kind::Other)
            return;
        if (std::optional<QString> name = decoder.decode(e->d_name))
            out.push_back({std::move(*name), kind == Kind::Folder, e->d_name[0] == '.'});
    });
    if (!ok)
        return std::nullopt;
    return out;
}

// Hidden names are dropped before anything else is asked of them, folders
// as soon as the entry's type says so.
std::optional<QStringList> findFiles(const QString& realPath, const QString& mask)
{
    const FileMask m(mask);
    QStringList names;
    NameDecoder decoder;
    const bool ok = scanFolder(realPath, [&](const dirent* e, DIR* dir) {
        if (e->d_name[0] == '.' || kindOf(dir, e) != Kind::File)
            return;
        std::optional<QString> name = decoder.decode(e->d_name);
        if (!name)
            return;
        const int count = m.matchCount(*name);
        for (int i = 0; i < count; ++i)
            names.append(*name);
    });
    if (!ok)
        return std::nullopt;
    sortNames(names);
    return names;
}

std::optional<QStringList> findSubfolders(const QString& realPath)
{
    auto entries = readFolder(realPath);
    if (!entries)
        return std::nullopt;
    QStringList names;
    for (DirEntry& e : *entries)
        if (e.isFolder && !e.hidden)
            names.append(std::move(e.name));
    sortNames(names);
    return names;
}

} // namespace vcl::fs
