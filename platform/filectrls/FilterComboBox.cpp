#include "filectrls/FilterComboBox.h"
#include "filectrls/FileListBox.h"

namespace vcl {

TFilterComboBox::TFilterComboBox(QWidget* parent) : QComboBox(parent), TControl(this)
{
    setEditable(false);
    SetFilter(QStringLiteral("All files (*.*)|*.*"));
    connect(this, &QComboBox::activated, this, &TFilterComboBox::PickEntry);
}

QList<TFilterComboBox::Entry> TFilterComboBox::parseFilter(const QString& filter)
{
    QList<Entry> out;
    const QStringList parts = filter.split(u'|', Qt::KeepEmptyParts);
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out.append({parts[i], parts[i + 1]});
    return out;
}

void TFilterComboBox::SetFilter(const QString& filter)
{
    m_filter = filter;
    m_entries = parseFilter(filter);
    const QSignalBlocker block(this);
    clear();
    for (const Entry& e : m_entries)
        addItem(e.description);
    m_shown = m_entries.isEmpty() ? -1 : 0;
    setCurrentIndex(m_shown);
}

QString TFilterComboBox::Mask() const
{
    return m_shown >= 0 && m_shown < m_entries.size() ? m_entries[m_shown].mask : QStringLiteral("*.*");
}

// Picking the entry already shown is no change and applies nothing.
void TFilterComboBox::PickEntry(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    if (currentIndex() != index)
        setCurrentIndex(index);
    if (index == m_shown)
        return;
    m_shown = index;
    if (m_fileList)
        m_fileList->SetMask(m_entries[index].mask);
}

Accept TFilterComboBox::setLayoutProperty(const QString& key, const QString& value)
{
    if (key == QLatin1String("Filter"))
        return takeString(value, [this](const QString& f) { SetFilter(f); });
    return TControl::setLayoutProperty(key, value);
}

Accept TFilterComboBox::setLayoutLink(const QString& key, TControl* target)
{
    if (key == QLatin1String("FileList")) {
        return linkTo<TFileListBox>(target, [this](TFileListBox* t) { SetFileList(t); });
    }
    return TControl::setLayoutLink(key, target);
}

} // namespace vcl
