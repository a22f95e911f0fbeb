#include "fs/Volumes.h"
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>
#include <algorithm>
#include <libmount.h>
#include <mutex>
#include <sys/stat.h>

namespace vcl::fs {

namespace {

bool isOneOf(const QString& s, std::initializer_list<const char*> list)
{
    for (const char* item : list)
        if (s == QLatin1String(item))
            return true;
    return false;
}

bool isAtOrUnder(const QString& path, const QString& dir)
{
    return path == dir || path.startsWith(dir + u'/');
}

bool isNetworkType(const QString& t)
{
    return isOneOf(t, {"cifs", "smb3", "smbfs", "nfs", "nfs4", "ncpfs", "sshfs", "fuse.sshfs",
                       "ceph", "glusterfs", "fuse.glusterfs", "afs", "davfs", "fuse.rclone"});
}

// Kernel interfaces, container plumbing and packaged read-only images: no
// user browses these as a disk.
bool isSystemType(const QString& t)
{
    return isOneOf(t, {"proc", "sysfs", "cgroup", "cgroup2", "devpts", "devtmpfs", "mqueue",
                       "debugfs", "tracefs", "securityfs", "bpf", "autofs", "fusectl", "configfs",
                       "pstore", "efivarfs", "hugetlbfs", "binfmt_misc", "rpc_pipefs", "nsfs",
                       "selinuxfs", "overlay", "squashfs", "nfsd", "fuse.gvfsd-fuse", "fuse.portal",
                       "fuse.lxcfs"});
}

bool isSystemMountPoint(const QString& mp)
{
    if (isAtOrUnder(mp, QStringLiteral("/run/media")))
        return false;
    for (const char* dir : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/run", "/var/lock",
                            "/var/lib/docker", "/var/lib/containers", "/var/snap"})
        if (isAtOrUnder(mp, QLatin1String(dir)))
            return true;
    return false;
}

bool isUserMediaPlace(const QString& mp)
{
    return isAtOrUnder(mp, QStringLiteral("/mnt")) || isAtOrUnder(mp, QStringLiteral("/media"))
        || isAtOrUnder(mp, QStringLiteral("/run/media"));
}

// The drive type of a volume other than the root, or none when the volume
// is not one a user would browse.
std::optional<DriveType> classify(const VolumeInfo& v)
{
    if (!v.rootIsDirectory || isSystemType(v.fsType) || isSystemMountPoint(v.mountPoint))
        return std::nullopt;
    if (isNetworkType(v.fsType))
        return DriveType::Network;
    if (v.fsType == QLatin1String("iso9660") || v.fsType == QLatin1String("udf")
        || v.device.startsWith(QLatin1String("/dev/sr")) || v.device.startsWith(QLatin1String("/dev/cdrom")))
        return DriveType::CDRom;
    if (v.fsType == QLatin1String("tmpfs") || v.fsType == QLatin1String("ramfs"))
        return isUserMediaPlace(v.mountPoint) ? std::optional(DriveType::Ram) : std::nullopt;
    if (v.device.startsWith(QLatin1String("/dev/")))
        return v.removable ? DriveType::Removable : DriveType::Fixed;
    // Pooled file systems name a dataset, not a device.
    if (isOneOf(v.fsType, {"zfs", "btrfs", "bcachefs"}))
        return DriveType::Fixed;
    return std::nullopt; // a type we can't tell
}

Drive makeDrive(QChar letter, const VolumeInfo& v, DriveType type)
{
    Drive d;
    d.letter = letter;
    d.root = v.mountPoint;
    d.type = type;
    d.label = v.label;
    d.ready = v.ready;
    if (type == DriveType::Network)
        d.remoteName = remoteNameFromSource(v.device);
    return d;
}

std::mutex g_providerLock;
VolumeProvider g_provider;

// The block device's own "removable" flag; a partition carries it on its
// parent device.
bool deviceIsRemovable(const QString& device)
{
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    if (name.isEmpty())
        return false;
    QFileInfo sys(QStringLiteral("/sys/class/block/") + name);
    QString dir = sys.canonicalFilePath();
    if (dir.isEmpty())
        return false;
    for (const QString& candidate : {dir + QStringLiteral("/removable"), dir + QStringLiteral("/../removable")}) {
        QFile f(candidate);
        if (f.open(QIODevice::ReadOnly))
            return f.read(1) == "1";
    }
    return false;
}

} // namespace

QString remoteNameFromSource(const QString& device)
{
    QString s = device;
    if (s.startsWith(QLatin1String("//")) || s.startsWith(QLatin1String("\\\\"))) {
        s.replace(u'/', u'\\');
    } else {
        // server:/export/dir, or user@host:dir for sshfs
        const qsizetype colon = s.indexOf(u':');
        if (colon <= 0)
            return {};
        QString host = s.left(colon);
        const qsizetype at = host.lastIndexOf(u'@');
        if (at >= 0)
            host = host.mid(at + 1);
        QString path = s.mid(colon + 1);
        while (path.startsWith(u'/'))
            path.remove(0, 1);
        s = QStringLiteral("\\\\") + host + (path.isEmpty() ? QString() : QStringLiteral("\\") + path);
        s.replace(u'/', u'\\');
    }
    while (s.size() > 2 && s.endsWith(u'\\'))
        s.chop(1);
    return s.size() > 2 ? s : QString();
}

QList<Drive> drivesFromVolumes(const QList<VolumeInfo>& volumes)
{
    QList<Drive> drives;
    // A mount point mounted over again shows its last mount only.
    QList<VolumeInfo> unique;
    for (const VolumeInfo& v : volumes) {
        auto same = std::find_if(unique.begin(), unique.end(),
                                 [&](const VolumeInfo& u) { return u.mountPoint == v.mountPoint; });
        if (same != unique.end())
            *same = v;
        else
            unique.append(v);
    }

    const VolumeInfo* root = nullptr;
    QList<std::pair<VolumeInfo, DriveType>> others;
    for (const VolumeInfo& v : unique) {
        if (v.mountPoint == QLatin1String("/")) {
            root = &v;
            continue;
        }
        if (auto type = classify(v))
            others.append({v, *type});
    }
    // The root is C: whatever it is made of (an overlay in a container).
    VolumeInfo rootInfo;
    rootInfo.mountPoint = QStringLiteral("/");
    if (root)
        rootInfo = *root;
    rootInfo.ready = true;
    drives.append(makeDrive(u'C', rootInfo, DriveType::Fixed));

    std::sort(others.begin(), others.end(),
              [](const auto& a, const auto& b) { return a.first.mountPoint < b.first.mountPoint; });
    char16_t letter = u'D';
    for (const auto& [v, type] : others) {
        if (letter > u'Z')
            break;
        drives.append(makeDrive(QChar(letter++), v, type));
    }
    return drives;
}

QList<VolumeInfo> systemVolumes()
{
    QList<VolumeInfo> out;
    libmnt_table* table = mnt_new_table();
    if (!table)
        return out;
    if (mnt_table_parse_mtab(table, nullptr) == 0) {
        libmnt_iter* it = mnt_new_iter(MNT_ITER_FORWARD);
        libmnt_fs* fs = nullptr;
        while (it && mnt_table_next_fs(table, it, &fs) == 0) {
            VolumeInfo v;
            v.mountPoint = QString::fromUtf8(mnt_fs_get_target(fs));
            v.fsType = QString::fromUtf8(mnt_fs_get_fstype(fs));
            v.device = QString::fromUtf8(mnt_fs_get_source(fs));
            if (v.mountPoint.isEmpty() || isSystemType(v.fsType) || isSystemMountPoint(v.mountPoint))
                continue;
            // A stalled network share must not hang the listing: nothing is
            // asked of a network volume here.
            if (!isNetworkType(v.fsType)) {
                struct stat st {};
                const QByteArray mp = QFile::encodeName(v.mountPoint);
                v.rootIsDirectory = ::stat(mp.constData(), &st) == 0 && S_ISDIR(st.st_mode);
                v.removable = deviceIsRemovable(v.device);
                if (v.rootIsDirectory) {
                    QStorageInfo info(v.mountPoint);
                    v.label = info.isValid() ? info.name() : QString();
                }
            }
            out.append(v);
        }
        mnt_free_iter(it);
    }
    mnt_unref_table(table);
    return out;
}

VolumeProvider setVolumeProvider(VolumeProvider provider)
{
    std::lock_guard lock(g_providerLock);
    VolumeProvider old = std::move(g_provider);
    g_provider = std::move(provider);
    return old;
}

QList<Drive> currentDrives()
{
    VolumeProvider provider;
    {
        std::lock_guard lock(g_providerLock);
        provider = g_provider;
    }
    return drivesFromVolumes(provider ? provider() : systemVolumes());
}

std::optional<Drive> driveByLetter(QChar letter)
{
    const QChar up = letter.toUpper();
    for (const Drive& d : currentDrives())
        if (d.letter == up)
            return d;
    return std::nullopt;
}

QList<VolumeInfo> rootWithExtraVolume(const QString& folder, const QString& label)
{
    VolumeInfo root;
    root.mountPoint = QStringLiteral("/");
    root.fsType = QStringLiteral("ext4");
    root.device = QStringLiteral("/dev/root");
    VolumeInfo extra;
    extra.mountPoint = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    extra.fsType = QStringLiteral("ext4");
    extra.device = QStringLiteral("/dev/simulated1");
    extra.label = label;
    return {root, extra};
}

} // namespace vcl::fs
