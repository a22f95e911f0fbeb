#pragma once
// The filter list: "description|mask|description|mask..." shown as its
// descriptions. Picking an entry sets the linked file list's mask; nothing
// reports back, so a mask set elsewhere leaves the entry shown as it was.
#include "controls/Control.h"
#include <QComboBox>
#include <QList>

namespace vcl {

class TFileListBox;

class TFilterComboBox : public QComboBox, public TControl {
    Q_OBJECT
public:
    struct Entry {
        QString description;
        QString mask;
    };

    explicit TFilterComboBox(QWidget* parent = nullptr);

    QString Filter() const { return m_filter; }
    // Shows entry 0 without applying its mask.
    void SetFilter(const QString& filter);
    // Pairs split at every "|", nothing trimmed; a description without its
    // mask at the end is dropped.
    static QList<Entry> parseFilter(const QString& filter);

    // The mask of the entry shown.
    QString Mask() const;
    const QList<Entry>& Entries() const { return m_entries; }

    // Shows the entry and, when it differs from the one shown, applies its
    // mask to the file list, as a pick by the user does.
    void PickEntry(int index);

    TFileListBox* FileList() const { return m_fileList; }
    void SetFileList(TFileListBox* list) { m_fileList = list; }

    Accept setLayoutProperty(const QString& key, const QString& value) override;
    Accept setLayoutLink(const QString& key, TControl* target) override;

private:
    QString m_filter;
    QList<Entry> m_entries;
    int m_shown = -1;
    TFileListBox* m_fileList = nullptr;
};

} // namespace vcl
