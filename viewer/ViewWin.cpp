#include "viewer/ViewWin.h"
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

TViewForm* ViewForm = nullptr;

static void initViewerResources() { Q_INIT_RESOURCE(viewer); }

bool TControlScrollBar::IsScrollBarVisible() const { return m_bar->isVisible(); }

TViewForm::TViewForm(QWidget* parent)
    : vcl::TForm(parent)
    , m_hbar(new QScrollBar(Qt::Horizontal, this))
    , m_vbar(new QScrollBar(Qt::Vertical, this))
    , m_horz(m_hbar, Qt::Horizontal)
    , m_vert(m_vbar, Qt::Vertical)
{
    initViewerResources();
    for (QScrollBar* b : {m_hbar, m_vbar}) {
        b->setTracking(false);   // the picture moves when the thumb is released
        b->setSingleStep(8);
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
        connect(b, &QScrollBar::valueChanged, this, [this] { scrolled(); });
    }
}

TViewForm::~TViewForm()
{
    if (ViewForm == this)
        ViewForm = nullptr;
}

std::vector<vcl::TForm::Member> TViewForm::members()
{
    return {member("Image1", Image1)};
}

vcl::Accept TViewForm::setFormProperty(const QString& key, const QString& value)
{
    if (key == QLatin1String("AutoScroll")) {
        bool ok = false;
        m_autoScroll = vcl::TControl::parseBool(value, &ok);
        // Only the program sets the extents here.
        return ok && !m_autoScroll ? vcl::Accept::Yes : vcl::Accept::BadValue;
    }
    return vcl::TForm::setFormProperty(key, value);
}

int TViewForm::ScrollBarThickness() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QSize TViewForm::ClientSize() const
{
    return QSize(width() - (m_vbar->isVisibleTo(this) ? ScrollBarThickness() : 0),
                 height() - (m_hbar->isVisibleTo(this) ? ScrollBarThickness() : 0));
}

void TViewForm::SetRanges(int horizontal, int vertical)
{
    m_horz.m_range = std::max(0, horizontal);
    m_vert.m_range = std::max(0, vertical);
    updateScrollBars();
}

void TViewForm::Loaded()
{
    Image1->OwnerLaysOut = true;
    updateScrollBars();
}

void TViewForm::resizeEvent(QResizeEvent* e)
{
    vcl::TForm::resizeEvent(e);
    updateScrollBars();
}

void TViewForm::updateScrollBars()
{
    const int s = ScrollBarThickness();
    const int w = width(), h = height();
    const qint64 rh = m_horz.m_range, rv = m_vert.m_range;
    // A bar shows when its extent exceeds the client extent, which the other
    // bar, if shown, makes smaller. Neither shows when neither is needed alone.
    bool showH = rh > w, showV = rv > h;
    if (showH && !showV)
        showV = rv > h - s;
    else if (showV && !showH)
        showH = rh > w - s;
    const int cw = std::max(0, w - (showV ? s : 0));
    const int ch = std::max(0, h - (showH ? s : 0));

    // Positions come back into range, the horizontal one first.
    m_horz.m_position = static_cast<int>(std::clamp<qint64>(m_horz.m_position, 0, showH ? rh - cw : 0));
    m_vert.m_position = static_cast<int>(std::clamp<qint64>(m_vert.m_position, 0, showV ? rv - ch : 0));

    const QSignalBlocker bh(m_hbar), bv(m_vbar);
    m_hbar->setGeometry(0, h - s, cw, s);
    m_vbar->setGeometry(w - s, 0, s, ch);
    m_hbar->setRange(0, showH ? static_cast<int>(rh - cw) : 0);
    m_vbar->setRange(0, showV ? static_cast<int>(rv - ch) : 0);
    m_hbar->setPageStep(std::max(1, cw));
    m_vbar->setPageStep(std::max(1, ch));
    m_hbar->setValue(m_horz.m_position);
    m_vbar->setValue(m_vert.m_position);
    m_hbar->setVisible(showH);
    m_vbar->setVisible(showV);
    m_hbar->raise();
    m_vbar->raise();
    scrolled();
}

void TViewForm::scrolled()
{
    if (m_hbar->isVisibleTo(this))
        m_horz.m_position = m_hbar->value();
    if (m_vbar->isVisibleTo(this))
        m_vert.m_position = m_vbar->value();
    if (!Image1)
        return;
    const QSize client = ClientSize();
    Image1->setGeometry(-m_horz.m_position, -m_vert.m_position, std::max(m_horz.m_range, client.width()),
                        std::max(m_vert.m_range, client.height()));
}
