#include "filectrls/DirectoryListBox.h"
#include "filectrls/FileListBox.h"
#include "filectrls/Glyphs.h"
#include "filectrls/RowsModel.h"
#include "fs/DirSearch.h"
#include "fs/Paths.h"
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace vcl {

// Glyph at the row's indent, vertically centred; the text 4 pixels after it.
// Only the text is highlighted.
class DirRowDelegate : public QStyledItemDelegate {
public:
    DirRowDelegate(TDirectoryListBox* owner) : QStyledItemDelegate(owner), m_owner(owner) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {1, m_owner->m_itemHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override
    {
        const int row = index.row();
        if (row < 0 || row >= m_owner->ItemCount())
            return;
        static const char* const names[] = {"OPENFOLDER", "CURRENTFOLDER", "CLOSEDFOLDER"};
        const QPixmap glyph = fileControlGlyph(QLatin1String(names[static_cast<int>(m_owner->ItemGlyph(row))]));
        const QRect r = opt.rect;
        const int x = r.left() + m_owner->ItemIndent(row);
        if (!glyph.isNull())
            p->drawPixmap(x, r.top() + (r.height() - glyph.height()) / 2, glyph);

        const QString text = m_owner->ItemText(row);
        const int textX = x + 16 + 4;
        const QRect textRect(textX, r.top(), opt.fontMetrics.horizontalAdvance(text) + 2, r.height());
        const bool selected = opt.state & QStyle::State_Selected;
        if (selected)
            p->fillRect(textRect.adjusted(-1, 0, 0, 0), opt.palette.brush(QPalette::Active, QPalette::Highlight));
        p->setPen(opt.palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
        p->setFont(opt.font);
        p->drawText(QRect(textX, r.top(), r.right() - textX + 1, r.height()),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }

private:
    TDirectoryListBox* m_owner;
};

TDirectoryListBox::TDirectoryListBox(QWidget* parent)
    : QListView(parent), TControl(this), m_model(new RowsModel(this)), m_delegate(new DirRowDelegate(this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);

    const QString start = fs::currentFolder();
    if (!SetDirectory(start)) {
        // The start folder can't be listed: show it without subfolders.
        rebuild(fs::expandDrivePath(start), {});
    }
}

TDirectoryListBox::~TDirectoryListBox() = default;

QString TDirectoryListBox::ItemText(int index) const
{
    return index >= 0 && index < ItemCount() ? m_items[index].text : QString();
}

int TDirectoryListBox::ItemIndent(int index) const
{
    return index >= 0 && index < ItemCount() ? m_items[index].indent : 0;
}

TDirectoryListBox::Glyph TDirectoryListBox::ItemGlyph(int index) const
{
    return index >= 0 && index < ItemCount() ? m_items[index].glyph : Glyph::Closed;
}

int TDirectoryListBox::ItemIndex() const
{
    const QModelIndexList sel = selectionModel()->selectedIndexes();
    return sel.isEmpty() ? -1 : sel.first().row();
}

void TDirectoryListBox::SetItemIndex(int index)
{
    if (index < 0 || index >= ItemCount()) {
        clearSelection();
        return;
    }
    const QModelIndex idx = m_model->index(index);
    selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
    scrollTo(idx);
}

bool TDirectoryListBox::SetDirectory(const QString& folder)
{
    const QString full = fs::expandDrivePath(folder);
    if (full.isEmpty())
        return false;
    const std::optional<QString> real = fs::enterableFolder(full);
    if (!real)
        return false;
    const std::optional<QStringList> subfolders = fs::findSubfolders(*real);
    if (!subfolders || !fs::setCurrentFolder(full))
        return false; // gone or locked since the check
    rebuild(full, *subfolders);
    if (m_fileList)
        m_fileList->SetDirectory(m_directory);
    return true;
}

// Root, ancestors and the current folder keep the case of the path; the
// subfolders' indent follows the count of "\" in the path, as the classic
// control draws it, so at a root they sit one step further in than below it.
void TDirectoryListBox::rebuild(const QString& folder, const QStringList& subfolders)
{
    m_directory = folder;
    m_items.clear();
    const QString drive = fs::ExtractFileDrive(folder);
    const QString rootPath = drive + u'\\';
    const QStringList parts = folder.mid(drive.size()).split(u'\\', Qt::SkipEmptyParts);

    m_items.push_back({rootPath, rootPath, 2, Glyph::Open});
    QString path = drive;
    for (const QString& part : parts) {
        path += u'\\' + part;
        const int i = static_cast<int>(m_items.size());
        m_items.push_back({part, path, 4 * i + 2, Glyph::Open});
    }
    m_currentItem = static_cast<int>(m_items.size()) - 1;
    m_items.back().glyph = Glyph::Current;

    const int backslashes = static_cast<int>(folder.count(u'\\'));
    const int subIndent = 4 * (backslashes + 1) + 2;
    QString previous;
    for (const QString& name : subfolders) {
        if (name == previous)
            continue;
        previous = name;
        m_items.push_back({name, fs::joinDrivePath(folder, name), subIndent, Glyph::Closed});
    }

    QStringList texts;
    texts.reserve(static_cast<qsizetype>(m_items.size()));
    for (const Item& item : m_items)
        texts.append(item.text);
    m_model->setRows(std::move(texts));
    highlightCurrent();
}

void TDirectoryListBox::highlightCurrent() { SetItemIndex(m_currentItem); }

void TDirectoryListBox::OpenItem(int index)
{
    if (index < 0 || index >= ItemCount() || index == m_currentItem)
        return;
    SetDirectory(m_items[index].path); // a folder that can't be entered: nothing changes
}

void TDirectoryListBox::SetFileList(TFileListBox* list)
{
    m_fileList = list;
    if (m_fileList)
        m_fileList->SetDirectory(m_directory);
}

void TDirectoryListBox::SetItemHeight(int height)
{
    m_itemHeight = height;
    doItemsLayout();
    fitToWholeRows();
}

void TDirectoryListBox::SetIntegralHeight(bool on)
{
    m_integralHeight = on;
    fitToWholeRows();
}

// The list is cut down to whole rows, as the classic control does when it
// is given a height in between.
void TDirectoryListBox::fitToWholeRows()
{
    if (!m_integralHeight || m_itemHeight <= 0)
        return;
    const int frame = 2 * frameWidth();
    const int rows = std::max(1, (height() - frame) / m_itemHeight);
    const int wanted = rows * m_itemHeight + frame;
    if (wanted != height())
        resize(width(), wanted);
}

void TDirectoryListBox::resizeEvent(QResizeEvent* e)
{
    QListView::resizeEvent(e);
    fitToWholeRows();
}

void TDirectoryListBox::showEvent(QShowEvent* e)
{
    QListView::showEvent(e);
    highlightCurrent();
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !(e->modifiers() & ~Qt::KeypadModifier)) {
        OpenItem(ItemIndex());
        return;
    }
    QListView::keyPressEvent(e);
}

void TDirectoryListBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && idx.isValid()) {
        OpenItem(idx.row());
        return;
    }
    QListView::mouseDoubleClickEvent(e);
}

Accept TDirectoryListBox::setLayoutProperty(const QString& key, const QString& value)
{
    if (key == QLatin1String("IntegralHeight"))
        return takeBool(value, [this](bool on) { SetIntegralHeight(on); });
    if (key == QLatin1String("ItemHeight"))
        return takeInt(value, 1, 255, [this](int h) { SetItemHeight(h); });
    return TControl::setLayoutProperty(key, value);
}

Accept TDirectoryListBox::setLayoutLink(const QString& key, TControl* target)
{
    if (key == QLatin1String("FileList")) {
        return linkTo<TFileListBox>(target, [this](TFileListBox* t) { SetFileList(t); });
    }
    return TControl::setLayoutLink(key, target);
}

} // namespace vcl
