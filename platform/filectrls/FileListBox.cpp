#include "filectrls/FileListBox.h"
#include "controls/EventGuard.h"
#include "controls/StdControls.h"
#include "filectrls/RowsModel.h"
#include "fs/DirSearch.h"
#include "fs/Paths.h"
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <chrono>

namespace vcl {

// Rows of one height with the text 2 pixels from the left and no glyph.
class FileRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int height = 13;

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {1, height}; }

    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override
    {
        const bool selected = opt.state & QStyle::State_Selected;
        if (selected)
            p->fillRect(opt.rect, opt.palette.brush(QPalette::Active, QPalette::Highlight));
        p->setPen(opt.palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
        p->setFont(opt.font);
        p->drawText(opt.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
    }
};

namespace {
qint64 steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

TFileListBox::TFileListBox(QWidget* parent)
    : QListView(parent), TControl(this), m_model(new RowsModel(this)), m_delegate(new FileRowDelegate(this)),
      m_directory(fs::currentFolder()), m_clock(steadyMilliseconds)
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

TFileListBox::~TFileListBox() = default;

void TFileListBox::ensureRead() const
{
    if (m_stale)
        const_cast<TFileListBox*>(this)->readFolder();
}

void TFileListBox::readFolder()
{
    m_stale = false;
    QStringList names;
    if (auto real = fs::toRealPath(m_directory))
        names = fs::findFiles(*real, m_mask).value_or(QStringList());
    clearSelection();
    m_model->setRows(std::move(names));
    m_lastRecorded = -1;
    m_prefix.clear();
    writeFileEdit(m_mask);
}

const QStringList& TFileListBox::Items() const
{
    ensureRead();
    return m_model->rows();
}

QString TFileListBox::FileName() const
{
    const int i = ItemIndex();
    return i < 0 ? QString() : fs::joinDrivePath(m_directory, m_model->rows()[i]);
}

void TFileListBox::SetMask(const QString& mask)
{
    if (mask == m_mask)
        return;
    m_mask = mask;
    if (!m_stale)
        readFolder();
}

void TFileListBox::SetDirectory(const QString& folder)
{
    const QString full = fs::expandDrivePath(folder);
    if (full.isEmpty() || full == m_directory)
        return;
    m_directory = full;
    if (!m_stale)
        readFolder();
}

void TFileListBox::Update() { readFolder(); }

int TFileListBox::ItemIndex() const
{
    ensureRead();
    const QModelIndexList sel = selectionModel()->selectedIndexes();
    return sel.isEmpty() ? -1 : sel.first().row();
}

void TFileListBox::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        clearSelection();
        return;
    }
    const QModelIndex idx = m_model->index(row);
    selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
    scrollTo(idx);
}

void TFileListBox::SetItemIndex(int index)
{
    ensureRead();
    selectRow(index);
}

bool TFileListBox::SelectFileByName(const QString& name)
{
    const QStringList& rows = Items();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].compare(name, Qt::CaseInsensitive) == 0) {
            selectRow(static_cast<int>(i));
            m_lastRecorded = static_cast<int>(i);
            writeFileEdit(rows[i]);
            return true;
        }
    }
    return false;
}

void TFileListBox::SetItemHeight(int height)
{
    m_itemHeight = height;
    m_delegate->height = height;
    doItemsLayout();
}

void TFileListBox::writeFileEdit(const QString& text)
{
    if (!m_fileEdit)
        return;
    m_fileEdit->setText(text);
    m_fileEdit->selectAll();
}

// The handler runs first; the entry line follows only when it finished, and
// only when the selection moved off the item last written there.
void TFileListBox::selectedByUser()
{
    if (OnClick && !runGuarded([this] { OnClick(this); }))
        return;
    const int now = ItemIndex();
    if (now == m_lastRecorded)
        return;
    m_lastRecorded = now;
    writeFileEdit(now < 0 ? m_mask : m_model->rows()[now]);
}

// Each character extends the prefix; a pause of more than 499 ms starts a
// new one. Backspace counts as a character for that rule, so after a pause
// it leaves an empty prefix and selects the first item.
void TFileListBox::typeIntoPrefix(QChar ch)
{
    const qint64 now = m_clock();
    if (now - m_lastKeyTime > 499)
        m_prefix.clear();
    m_lastKeyTime = now;

    const QStringList& rows = Items();
    int target = -1;
    if (ch == QChar(8)) {
        if (!m_prefix.isEmpty())
            m_prefix.chop(1);
        if (m_prefix.isEmpty())
            target = rows.isEmpty() ? -1 : 0;
    } else {
        m_prefix.append(ch);
    }
    if (!m_prefix.isEmpty()) {
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (rows[i].startsWith(m_prefix, Qt::CaseInsensitive)) {
                target = static_cast<int>(i);
                break;
            }
        }
    }
    if (target < 0 || target == ItemIndex())
        return;
    selectRow(target);
    selectedByUser();
}

void TFileListBox::keyPressEvent(QKeyEvent* e)
{
    ensureRead();
    if (e->key() == Qt::Key_Backspace) {
        typeIntoPrefix(QChar(8));
        return;
    }
    const QString text = e->text();
    if (text.size() == 1 && text[0].isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        typeIntoPrefix(text[0]);
        return;
    }
    const int before = ItemIndex();
    QListView::keyPressEvent(e);
    const int after = ItemIndex();
    if (after != before)
        selectedByUser();
}

// A click on an item raises OnClick even when the item was already selected
// (the picture is loaded again); the entry line is rewritten only on change.
void TFileListBox::mousePressEvent(QMouseEvent* e)
{
    ensureRead();
    const bool onItem = indexAt(e->position().toPoint()).isValid();
    const int before = ItemIndex();
    QListView::mousePressEvent(e);
    if ((onItem && e->button() == Qt::LeftButton) || ItemIndex() != before)
        selectedByUser();
}

void TFileListBox::mouseMoveEvent(QMouseEvent* e)
{
    const int before = ItemIndex();
    QListView::mouseMoveEvent(e);
    if ((e->buttons() & Qt::LeftButton) && ItemIndex() != before)
        selectedByUser();
}

void TFileListBox::showEvent(QShowEvent* e)
{
    ensureRead();
    QListView::showEvent(e);
}

Accept TFileListBox::setLayoutProperty(const QString& key, const QString& value)
{
    if (key == QLatin1String("Mask"))
        return takeString(value, [this](const QString& m) { SetMask(m); });
    if (key == QLatin1String("ItemHeight"))
        return takeInt(value, 1, 255, [this](int h) { SetItemHeight(h); });
    return TControl::setLayoutProperty(key, value);
}

Accept TFileListBox::setLayoutLink(const QString& key, TControl* target)
{
    if (key == QLatin1String("FileEdit")) {
        return linkTo<TEdit>(target, [this](TEdit* t) { SetFileEdit(t); });
    }
    return TControl::setLayoutLink(key, target);
}

Accept TFileListBox::bindEvent(const QString& event, const EventHandler& handler)
{
    if (event == QLatin1String("OnClick"))
        return bindNotify(handler, OnClick);
    return TControl::bindEvent(event, handler);
}

} // namespace vcl
