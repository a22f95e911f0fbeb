#pragma once
// The drive list: every drive, a to z, in lower case, with its type's glyph.
// Picking a drive moves the linked folder list to that drive's current folder.
#include "controls/Control.h"
#include "fs/Volumes.h"
#include <QComboBox>

namespace vcl {

class TDirectoryListBox;

class TDriveComboBox : public QComboBox, public TControl {
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    // The letter shown, in lower case; null when the current folder is on a
    // share without a letter.
    QChar Drive() const { return m_drive.toLower(); }
    // Shows the drive and moves the folder list to its current folder. The
    // drive already shown does nothing; a drive that is not ready stays shown
    // while the folder list stays where it was.
    void SetDrive(QChar letter);

    // The entry text of a drive as listed ("c: [system]", "a:", ...).
    static QString driveText(const fs::Drive& d);
    static QString glyphName(fs::DriveType type);

    // Reads the drive table again (the shown drive stays if it still exists).
    void refreshDrives();

    TDirectoryListBox* DirList() const { return m_dirList; }
    void SetDirList(TDirectoryListBox* list) { m_dirList = list; }

    Accept setLayoutLink(const QString& key, TControl* target) override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QList<fs::Drive> m_drives;
    QChar m_drive; // upper case
    TDirectoryListBox* m_dirList = nullptr;
};

} // namespace vcl
