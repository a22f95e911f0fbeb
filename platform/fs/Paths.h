#pragma once
// Paths in drive form ("C:\home\pics", "\\server\share\dir") and their real
// counterparts, the name helpers of the classic run-time library, and the
// current folders.
//
// The current folders are held by this layer, not by the process: the real
// working directory is read once, for the start folder, and never changed, so
// that nothing else in the process (file dialogs, relative paths in tests)
// moves with the browser.
#include <QChar>
#include <QString>
#include <optional>

namespace vcl::fs {

// ---- name helpers (drive form; "\" and ":" separate, "." starts an extension)
QString ExtractFilePath(const QString& path);  // up to and including the last "\" or ":"
QString ExtractFileDir(const QString& path);   // the same without a trailing "\" (kept at a root)
QString ExtractFileName(const QString& path);  // after the last "\" or ":"
QString ExtractFileExt(const QString& path);   // from the last ".", if no "\" or ":" follows it
QString ExtractFileDrive(const QString& path); // "C:", "\\server\share", or empty
QString IncludeTrailingBackslash(const QString& path);
QString ExcludeTrailingBackslash(const QString& path); // a root keeps its "\"

// Joins a folder and a name with one "\" (none added after "C:\").
QString joinDrivePath(const QString& folder, const QString& name);

// True for "C:\" and "\\server\share\" (with or without the final "\").
bool isDriveRoot(const QString& path);

// Makes a typed path absolute the way the classic system does: "C:" and
// "C:rel" go from that drive's current folder, "\rel" from the current
// drive's root, "rel" from the current folder; "/" is read as "\"; "." and
// ".." are resolved (".." stops at the root). The drive letter comes out in
// upper case and there is no trailing "\" except at a root.
QString expandDrivePath(const QString& text);

// Absolute drive form to real path; none for an unknown or not-ready drive,
// or a name with "/" in it. Does not check that the path exists.
std::optional<QString> toRealPath(const QString& drivePath);
// Real path to drive form under the drive with the longest matching root;
// none when a component holds "\" or ":", which the drive form can't show.
std::optional<QString> toDrivePath(const QString& realPath);

// ---- current folders (drive form)
// Where the program was started: the working directory at the first call.
QString startFolder();
QString currentFolder();
// The last folder made current on that drive; its root if none was.
QString driveCurrentFolder(QChar letter);
// Makes the folder current, for the process and for its drive, when it can
// be entered and listed. Returns false, changing nothing, when it can't.
bool setCurrentFolder(const QString& drivePath);
// Back to the start folder, every drive at its root (tests).
void resetCurrentFolders();

// The real path of a folder that exists and can be listed, else none.
std::optional<QString> enterableFolder(const QString& drivePath);

} // namespace vcl::fs
