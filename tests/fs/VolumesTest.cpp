#include "fs/Volumes.h"
#include <gtest/gtest.h>

using namespace vcl::fs;

namespace {

VolumeInfo vol(const char* mp, const char* type, const char* dev, const char* label = "", bool removable = false)
{
    VolumeInfo v;
    v.mountPoint = QString::fromUtf8(mp);
    v.fsType = QString::fromUtf8(type);
    v.device = QString::fromUtf8(dev);
    v.label = QString::fromUtf8(label);
    v.removable = removable;
    return v;
}

TEST(Volumes, DriveTableFromMountTable)
{
    VolumeInfo hosts = vol("/etc/hosts", "ext4", "/dev/vda");
    hosts.rootIsDirectory = false;
    const QList<VolumeInfo> table = {
        vol("/", "overlay", "overlay", "root"),
        vol("/proc", "proc", "proc"),
        vol("/sys/fs/cgroup", "cgroup2", "cgroup2"),
        vol("/dev/shm", "tmpfs", "shm"),
        vol("/run", "tmpfs", "tmpfs"),
        vol("/tmp", "tmpfs", "tmpfs"),
        vol("/boot", "ext4", "/dev/sda1"),
        vol("/boot/efi", "vfat", "/dev/sda2"),
        vol("/snap/core/1", "squashfs", "/dev/loop0"),
        hosts,
        vol("/mnt/weird", "fuse.mystery", "mystery"),
        vol("/mnt/share", "cifs", "//Server/Share"),
        vol("/mnt/ram", "tmpfs", "tmpfs"),
        vol("/media/usb", "vfat", "/dev/sdc1", "STICK", true),
        vol("/data", "ext4", "/dev/sdb1", "Data"),
        vol("/media/cdrom", "iso9660", "/dev/sr0", "DISC"),
        vol("/mnt/nfs", "nfs4", "nas:/export/pics"),
    };
    const QList<Drive> drives = drivesFromVolumes(table);
    struct Want {
        char letter;
        const char* root;
        DriveType type;
        const char* label;
        const char* remote;
    };
    const Want want[] = {
        {'C', "/", DriveType::Fixed, "root", ""},
        {'D', "/data", DriveType::Fixed, "Data", ""},
        {'E', "/media/cdrom", DriveType::CDRom, "DISC", ""},
        {'F', "/media/usb", DriveType::Removable, "STICK", ""},
        {'G', "/mnt/nfs", DriveType::Network, "", "\\\\nas\\export\\pics"},
        {'H', "/mnt/ram", DriveType::Ram, "", ""},
        {'I', "/mnt/share", DriveType::Network, "", "\\\\Server\\Share"},
    };
    ASSERT_EQ(drives.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE(want[i].letter);
        EXPECT_EQ(drives[i].letter, QChar(want[i].letter));
        EXPECT_EQ(drives[i].root, QString::fromUtf8(want[i].root));
        EXPECT_EQ(drives[i].type, want[i].type);
        EXPECT_EQ(drives[i].label, QString::fromUtf8(want[i].label));
        EXPECT_EQ(drives[i].remoteName, QString::fromUtf8(want[i].remote));
    }
}

TEST(Volumes, RemoteNamesFromMountSources)
{
    EXPECT_EQ(remoteNameFromSource("//srv/pub"), "\\\\srv\\pub");
    EXPECT_EQ(remoteNameFromSource("//srv/pub/sub/"), "\\\\srv\\pub\\sub");
    EXPECT_EQ(remoteNameFromSource("srv:/export"), "\\\\srv\\export");
    EXPECT_EQ(remoteNameFromSource("me@host:/home/me"), "\\\\host\\home\\me");
    EXPECT_EQ(remoteNameFromSource("nodelimiter"), "");
}

TEST(Volumes, RemountedPointAndLetterOverflow)
{
    QList<VolumeInfo> table = {vol("/", "ext4", "/dev/vda")};
    // The last mount on a point hides the earlier one.
    table.append(vol("/data", "ext4", "/dev/sdb1", "old"));
    table.append(vol("/data", "ext4", "/dev/sdc1", "new"));
    for (int i = 0; i < 30; ++i)
        table.append(vol(qPrintable(QStringLiteral("/srv/d%1").arg(i, 2, 10, QChar(u'0'))), "ext4", "/dev/sdx"));
    const QList<Drive> drives = drivesFromVolumes(table);
    ASSERT_EQ(drives.size(), 24); // C..Z
    EXPECT_EQ(drives[1].label, "new");
    EXPECT_EQ(drives.back().letter, QChar(u'Z'));
}

TEST(Volumes, ThisMachineHasARootDrive)
{
    const QList<Drive> drives = drivesFromVolumes(systemVolumes());
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives[0].letter, QChar(u'C'));
    EXPECT_EQ(drives[0].root, "/");
}

} // namespace
