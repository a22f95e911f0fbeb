#include "filectrls/TypedPath.h"
#include "filectrls/DirectoryListBox.h"
#include "filectrls/DriveComboBox.h"
#include "filectrls/FileListBox.h"
#include "forms/Exceptions.h"
#include "fs/DirSearch.h"
#include "fs/Paths.h"
#include <QFileInfo>

namespace vcl {

namespace {

// Far beyond any path the system can open; a pasted blob is dropped rather
// than split and searched.
constexpr qsizetype kLongestText = 32767;

bool hasControlCharacter(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

bool isWildcard(const QString& name) { return name.contains(u'*') || name.contains(u'?'); }

QChar letterOf(const QString& drivePath)
{
    return fs::ExtractFileDrive(drivePath).size() == 2 ? drivePath[0] : QChar();
}

QString withoutDrive(const QString& drivePath)
{
    const QString rest = drivePath.mid(fs::ExtractFileDrive(drivePath).size());
    return rest.isEmpty() ? QStringLiteral("\\") : rest;
}

// Names are typed without regard to case, as the file list compares them.
// Hidden files count: the name is a file, even if no mask will ever list it.
bool isExistingFile(const QString& folder, const QString& name)
{
    const std::optional<QString> real = fs::toRealPath(fs::joinDrivePath(folder, name));
    if (!real)
        return false;
    if (QFileInfo(*real).isFile())
        return true;
    const std::optional<QString> realFolder = fs::toRealPath(folder);
    const auto entries = realFolder ? fs::readFolder(*realFolder) : std::nullopt;
    if (!entries)
        return false;
    for (const fs::DirEntry& e : *entries)
        if (!e.isFolder && e.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The link runs from the folder list to the file list only; the one that
// feeds this list is found among the controls of its window.
template <class Control, class Match>
Control* findInWindow(const QWidget* from, Match match)
{
    const QWidget* top = from;
    while (top->parentWidget())
        top = top->parentWidget();
    for (Control* c : top->findChildren<Control*>())
        if (match(c))
            return c;
    return nullptr;
}

// Moves the lists to the folder: the drive first when the letter differs
// from the current folder's first character (exactly: a lower-case letter
// for the current drive is passed on too, and the drive list ignores it);
// a folder that can't be entered leaves the lists where they were.
void moveFolderLists(TFileListBox& list, const TypedPath& path)
{
    TDirectoryListBox* folders = findInWindow<TDirectoryListBox>(
        &list, [&](TDirectoryListBox* d) { return d->FileList() == &list; });
    if (!folders) {
        if (fs::enterableFolder(path.folder))
            list.SetDirectory(path.folder);
        return;
    }
    const QString current = fs::currentFolder();
    if (!path.drive.isNull() && (current.isEmpty() || path.drive != current[0])) {
        if (TDriveComboBox* drives = findInWindow<TDriveComboBox>(
                &list, [&](TDriveComboBox* d) { return d->DirList() == folders; }))
            drives->SetDrive(path.drive);
    }
    // Staying put still reads the folder list afresh, for subfolders made or
    // removed since it was last built.
    if (!folders->SetDirectory(path.folder))
        folders->SetDirectory(folders->Directory());
}

} // namespace

std::optional<TypedPath> splitTypedPath(const QString& typed)
{
    if (typed.size() > kLongestText || hasControlCharacter(typed))
        return std::nullopt;

    QString text = typed;
    if (text.startsWith(u'/')) {
        const std::optional<QString> drivePath = fs::toDrivePath(text);
        if (!drivePath)
            return std::nullopt;
        text = *drivePath;
    } else {
        text.replace(u'/', u'\\');
    }

    const QString current = fs::currentFolder();
    TypedPath out;
    QString drivePart; // "C:", "\\server\share"
    QString rest;      // the text after it
    QString base;      // the folder a lone name or a relative folder part is in
    if (text.size() >= 2 && text.startsWith(u'[') && text.endsWith(u']')) {
        rest = text.mid(1, text.size() - 2);
        drivePart = fs::ExtractFileDrive(current);
        out.drive = letterOf(current);
        base = current;
    } else {
        drivePart = fs::ExtractFileDrive(text);
        if (drivePart.isEmpty()) {
            if (text.startsWith(QLatin1String("\\\\")))
                return std::nullopt; // a network root without server or share
            drivePart = fs::ExtractFileDrive(current);
            out.drive = letterOf(current);
            base = current;
            rest = text;
        } else if (drivePart.size() == 2) {
            out.drive = drivePart[0];
            base = fs::driveCurrentFolder(drivePart[0]);
            rest = text.mid(2);
        } else {
            base = drivePart + u'\\';
            rest = text.mid(drivePart.size());
        }
    }
    // Names never hold ":"; one left after the drive can't lead anywhere.
    if (rest.contains(u':'))
        return std::nullopt;

    const qsizetype sep = rest.lastIndexOf(u'\\');
    out.name = rest.mid(sep + 1);
    if (sep < 0)
        out.folderPart = withoutDrive(base);
    else if (sep == 0)
        out.folderPart = QStringLiteral("\\");
    else
        out.folderPart = rest.left(sep);

    const QString joined = out.folderPart.startsWith(u'\\') ? drivePart + out.folderPart
                                                            : fs::joinDrivePath(base, out.folderPart);
    out.folder = fs::expandDrivePath(joined);
    if (out.folder.isEmpty())
        return std::nullopt;

    if (!out.name.isEmpty() && !isWildcard(out.name) && !isExistingFile(out.folder, out.name)) {
        out.folderPart = fs::joinDrivePath(out.folderPart, out.name);
        out.folder = fs::expandDrivePath(fs::joinDrivePath(out.folder, out.name));
        out.name.clear();
    }
    return out;
}

void applyTypedPath(TFileListBox& list, const QString& typed, const TypedPath& path)
{
    moveFolderLists(list, path);
    if (path.name.isEmpty())
        return;
    if (isWildcard(path.name)) {
        list.SetMask(path.name);
        return;
    }
    if (list.SelectFileByName(path.name))
        return;
    // Split found a file; gone since, or never in the folder the lists reached.
    if (!isExistingFile(list.Directory(), path.name))
        throw EInvalidFileName(typed);
    // There but hidden by the mask: the name becomes the mask. A hidden file
    // stays unlisted even then, and nothing is selected.
    list.SetMask(path.name);
    list.SelectFileByName(path.name);
}

void TFileListBox::ApplyFilePath(const QString& text)
{
    if (text.isEmpty() || text.compare(FileName(), Qt::CaseInsensitive) == 0)
        return;
    if (const std::optional<TypedPath> path = splitTypedPath(text))
        applyTypedPath(*this, text, *path);
}

} // namespace vcl
