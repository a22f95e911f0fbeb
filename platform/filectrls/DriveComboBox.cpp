#include "filectrls/DriveComboBox.h"
#include "filectrls/DirectoryListBox.h"
#include "filectrls/Glyphs.h"
#include "fs/Paths.h"
#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace vcl {

namespace {

constexpr int kGlyphRole = Qt::UserRole + 1;

// Glyph 2 pixels from the left, vertically centred; text from 22 pixels, one
// line, "&" drawn as itself.
void paintDriveRow(QPainter* p, const QRect& r, const QPixmap& glyph, const QString& text,
                   const QPalette& pal, bool selected)
{
    if (selected)
        p->fillRect(r, pal.brush(QPalette::Active, QPalette::Highlight));
    if (!glyph.isNull())
        p->drawPixmap(r.left() + 2, r.top() + (r.height() - glyph.height()) / 2, glyph);
    p->setPen(pal.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
    p->drawText(r.adjusted(22, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

class DriveRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override
    {
        p->setFont(opt.font);
        paintDriveRow(p, opt.rect, fileControlGlyph(index.data(kGlyphRole).toString()),
                      index.data(Qt::DisplayRole).toString(), opt.palette, opt.state & QStyle::State_Selected);
    }
    QSize sizeHint(const QStyleOptionViewItem& opt, const QModelIndex&) const override
    {
        return {1, std::max(opt.fontMetrics.height(), 13)};
    }
};

} // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent), TControl(this)
{
    setEditable(false);
    setItemDelegate(new DriveRowDelegate(this));
    refreshDrives();
    const QString current = fs::currentFolder();
    const QChar letter = fs::ExtractFileDrive(current).size() == 2 ? current[0].toUpper() : QChar();
    for (int i = 0; i < m_drives.size(); ++i)
        if (m_drives[i].letter == letter) {
            m_drive = letter;
            setCurrentIndex(i);
        }
    if (m_drive.isNull())
        setCurrentIndex(-1);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < m_drives.size())
            SetDrive(m_drives[index].letter);
    });
}

QString TDriveComboBox::glyphName(fs::DriveType type)
{
    switch (type) {
    case fs::DriveType::Removable: return QStringLiteral("FLOPPY");
    case fs::DriveType::Fixed: return QStringLiteral("HARD");
    case fs::DriveType::Network: return QStringLiteral("NETWORK");
    case fs::DriveType::CDRom: return QStringLiteral("CDROM");
    case fs::DriveType::Ram: return QStringLiteral("RAM");
    }
    return {};
}

// Labels and remote names follow the letter's case, hence the lower case of
// the whole text.
QString TDriveComboBox::driveText(const fs::Drive& d)
{
    QString text = QString(d.letter) + u':';
    switch (d.type) {
    case fs::DriveType::Removable:
        break; // the medium is not touched to read a label
    case fs::DriveType::Network:
        text += u' ' + (d.remoteName.isEmpty() ? u'[' + d.label + u']' : d.remoteName);
        break;
    default:
        text += QStringLiteral(" [") + d.label + u']';
        break;
    }
    return text.toLower();
}

void TDriveComboBox::refreshDrives()
{
    m_drives = fs::currentDrives();
    const QSignalBlocker block(this);
    clear();
    int shown = -1;
    for (int i = 0; i < m_drives.size(); ++i) {
        addItem(driveText(m_drives[i]));
        setItemData(i, glyphName(m_drives[i].type), kGlyphRole);
        if (m_drives[i].letter == m_drive)
            shown = i;
    }
    setCurrentIndex(shown);
}

void TDriveComboBox::SetDrive(QChar letter)
{
    const QChar up = letter.toUpper();
    if (up == m_drive)
        return;
    for (int i = 0; i < m_drives.size(); ++i) {
        if (m_drives[i].letter != up)
            continue;
        m_drive = up;
        setCurrentIndex(i);
        if (m_dirList)
            m_dirList->SetDirectory(fs::driveCurrentFolder(up)); // not ready: nothing moves
        return;
    }
}

void TDriveComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    const int i = currentIndex();
    if (i < 0)
        return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    painter.setFont(font());
    paintDriveRow(&painter, field, fileControlGlyph(itemData(i, kGlyphRole).toString()), itemText(i), palette(),
                  hasFocus());
}

Accept TDriveComboBox::setLayoutLink(const QString& key, TControl* target)
{
    if (key == QLatin1String("DirList")) {
        return linkTo<TDirectoryListBox>(target, [this](TDirectoryListBox* t) { SetDirList(t); });
    }
    return TControl::setLayoutLink(key, target);
}

} // namespace vcl
