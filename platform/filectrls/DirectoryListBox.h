#pragma once
// The folder list: the root, the folders down to the current one, then the
// current folder's subfolders. Opening an item (double click or Enter) moves
// there and takes the linked file list along.
#include "controls/Control.h"
#include <QListView>
#include <QStringList>
#include <vector>

namespace vcl {

class TFileListBox;
class RowsModel;
class DirRowDelegate;

class TDirectoryListBox : public QListView, public TControl {
    Q_OBJECT
public:
    enum class Glyph { Open, Current, Closed };

    explicit TDirectoryListBox(QWidget* parent = nullptr);
    ~TDirectoryListBox() override;

    // Drive form, no trailing "\" except at a root.
    QString Directory() const { return m_directory; }
    // Moves to the folder (made current for the process and its drive) and
    // the linked file list with it. A folder that can't be entered changes
    // nothing and returns false.
    bool SetDirectory(const QString& folder);

    // Opens the item: up to the root or an ancestor, down into a subfolder;
    // the current folder's own item does nothing.
    void OpenItem(int index);

    int ItemCount() const { return static_cast<int>(m_items.size()); }
    QString ItemText(int index) const;
    int ItemIndent(int index) const;
    Glyph ItemGlyph(int index) const;
    int CurrentItem() const { return m_currentItem; } // the current folder's row
    int ItemIndex() const;                             // the highlighted row
    void SetItemIndex(int index);

    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int height);
    bool IntegralHeight() const { return m_integralHeight; }
    void SetIntegralHeight(bool on);

    TFileListBox* FileList() const { return m_fileList; }
    void SetFileList(TFileListBox* list);

    Accept setLayoutProperty(const QString& key, const QString& value) override;
    Accept setLayoutLink(const QString& key, TControl* target) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    friend class DirRowDelegate;
    struct Item {
        QString text;
        QString path; // drive form
        int indent;
        Glyph glyph;
    };
    void rebuild(const QString& folder, const QStringList& subfolders);
    void highlightCurrent();
    void fitToWholeRows();

    RowsModel* m_model;
    DirRowDelegate* m_delegate;
    TFileListBox* m_fileList = nullptr;
    QString m_directory;
    std::vector<Item> m_items;
    int m_currentItem = 0;
    int m_itemHeight = 16;
    bool m_integralHeight = false;
};

} // namespace vcl
