#pragma once
// Drives over the mounted volumes. This system has no drive letters: the
// root file system is C:, and every other volume a user would browse gets
// the next free letter in the order of its mount point.
#include <QChar>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace vcl::fs {

// One mounted volume as the mount table describes it.
struct VolumeInfo {
    QString mountPoint;     // absolute real path
    QString fsType;         // "ext4", "vfat", "cifs", "nfs4", "fuse.sshfs", ...
    QString device;         // "/dev/sdb1", "//server/share", "server:/export"
    QString label;          // empty when it has none or can't be read
    bool removable = false; // the block device says its medium can be taken out
    bool rootIsDirectory = true; // false for a file bind-mounted on its own
    bool ready = true;      // false: the root can't be entered (no medium)
};

enum class DriveType { Removable, Fixed, CDRom, Ram, Network };

struct Drive {
    QChar letter;           // upper case, 'C'..'Z'
    QString root;           // real path of the root folder
    DriveType type = DriveType::Fixed;
    QString label;          // volume label as read, may be empty
    QString remoteName;     // network drives: \\server\share, empty if unknown
    bool ready = true;
};

// The drive table for a list of volumes. Pure: no file-system access.
QList<Drive> drivesFromVolumes(const QList<VolumeInfo>& volumes);

// The volumes mounted on this machine.
QList<VolumeInfo> systemVolumes();

// The drive table the program sees: from systemVolumes() unless a provider
// was installed. Read afresh on every call; the mount table is small.
QList<Drive> currentDrives();
std::optional<Drive> driveByLetter(QChar letter);

// Replaces where the volumes come from (tests simulate drives with it).
// Returns the previous provider; an empty function restores the real one.
using VolumeProvider = std::function<QList<VolumeInfo>()>;
VolumeProvider setVolumeProvider(VolumeProvider provider);

// The real root plus a fixed drive over `folder`, which becomes D: unless
// more volumes sort before it. For tests of the layers above.
QList<VolumeInfo> rootWithExtraVolume(const QString& folder, const QString& label = {});

// "//server/share/dir" and "server:/export/dir" as \\server\share\dir.
QString remoteNameFromSource(const QString& device);

} // namespace vcl::fs
