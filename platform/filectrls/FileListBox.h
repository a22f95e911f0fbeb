#pragma once
// The file list: the files of one folder that match a mask, sorted without
// regard to case, one selected at most. Selecting by hand raises OnClick and
// then writes the file's name into the linked entry line.
#include "controls/Control.h"
#include <QListView>
#include <QStringList>
#include <functional>

namespace vcl {

class TEdit;
class RowsModel;
class FileRowDelegate;

class TFileListBox : public QListView, public TControl {
    Q_OBJECT
public:
    explicit TFileListBox(QWidget* parent = nullptr);
    ~TFileListBox() override;

    // Full path of the selected file in drive form; empty with none selected.
    QString FileName() const;

    QString Mask() const { return m_mask; }
    // Compared exactly, case included; an equal mask reads nothing.
    void SetMask(const QString& mask);

    // Drive form, no trailing "\" except at a root.
    QString Directory() const { return m_directory; }
    // Moves to the folder and reads it when it differs from the current one.
    // A folder that can't be read gives an empty list.
    void SetDirectory(const QString& folder);

    // Reads the folder again: nothing selected, the mask into the entry line.
    void Update();

    int ItemIndex() const;
    // A program selection (-1 for none): no OnClick, no entry-line write.
    void SetItemIndex(int index);
    const QStringList& Items() const;
    int ItemCount() const { return static_cast<int>(Items().size()); }

    // A program selection by name (without regard to case) that writes the
    // name into the entry line, all selected, without raising OnClick.
    // False, changing nothing, when no item has that name.
    bool SelectFileByName(const QString& name);

    // Applies a folder, drive, file name or mask typed into the entry line
    // (filectrls/TypedPath.h). Raises EInvalidFileName for a name that was a
    // file when the text was split and is no longer found.
    void ApplyFilePath(const QString& text);

    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int height);

    TEdit* FileEdit() const { return m_fileEdit; }
    void SetFileEdit(TEdit* edit) { m_fileEdit = edit; }

    TNotifyEvent OnClick;

    // Milliseconds for the typing search; tests inject their own clock.
    using Clock = std::function<qint64()>;
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    Accept setLayoutProperty(const QString& key, const QString& value) override;
    Accept setLayoutLink(const QString& key, TControl* target) override;
    Accept bindEvent(const QString& event, const EventHandler& handler) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void ensureRead() const;
    void readFolder();
    void selectRow(int row);
    void selectedByUser();
    void typeIntoPrefix(QChar ch);
    void writeFileEdit(const QString& text);

    RowsModel* m_model;
    FileRowDelegate* m_delegate;
    TEdit* m_fileEdit = nullptr;
    QString m_directory;
    QString m_mask = QStringLiteral("*.*");
    bool m_stale = true;      // not read since creation
    int m_itemHeight = 13;
    int m_lastRecorded = -1;  // the item last written into the entry line
    QString m_prefix;
    qint64 m_lastKeyTime = 0;
    Clock m_clock;
};

} // namespace vcl
