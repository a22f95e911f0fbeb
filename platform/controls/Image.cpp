#include "controls/Image.h"
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

namespace vcl {

TImage::TImage(QWidget* parent) : QWidget(parent), TControl(this)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    m_picture.OnChange = [this] { pictureChanged(); };
}

void TImage::SetStretch(bool on)
{
    if (on == m_stretch)
        return;
    m_stretch = on;
    update();
}

QRect TImage::destRect(QSize picture, QSize control, bool stretch, bool proportional, bool center)
{
    const int w = picture.width(), h = picture.height();
    const int cw = control.width(), ch = control.height();
    int width = w, height = h;
    if (proportional && (stretch || w > cw || h > ch)) {
        if (w > 0 && h > 0) {
            const double a = double(w) / double(h);
            if (w > h) {
                width = cw;
                height = int(cw / a);
                if (height > ch) {
                    height = ch;
                    width = int(ch * a);
                }
            } else {
                height = ch;
                width = int(ch * a);
                if (width > cw) {
                    width = cw;
                    height = int(cw / a);
                }
            }
        } else {
            width = cw;
            height = ch;
        }
    } else if (stretch) {
        width = cw;
        height = ch;
    }
    int left = 0, top = 0;
    if (center) {
        left = (cw - width) / 2;
        top = (ch - height) / 2;
    }
    return QRect(left, top, width, height);
}

QRect TImage::DestRect() const
{
    return destRect(QSize(m_picture.Width(), m_picture.Height()), size(), m_stretch, m_proportional, m_center);
}

void TImage::paintEvent(QPaintEvent* e)
{
    const TGraphic* g = m_picture.Graphic();
    if (!g || g->Empty())
        return;
    QPainter p(this);
    p.setClipRect(e->rect());
    g->Draw(p, DestRect());
}

void TImage::pictureChanged()
{
    if (OnPictureChange)
        OnPictureChange();
    update();
}

Accept TImage::setLayoutProperty(const QString& key, const QString& value)
{
    bool ok = false;
    auto flag = [&](bool& target) {
        target = parseBool(value, &ok);
        return ok ? Accept::Yes : Accept::BadValue;
    };
    if (key == QLatin1String("Stretch"))
        return flag(m_stretch);
    if (key == QLatin1String("Center"))
        return flag(m_center);
    if (key == QLatin1String("Proportional"))
        return flag(m_proportional);
    if (key == QLatin1String("AutoSize"))
        return flag(m_autoSize);
    if (key == QLatin1String("Align")) {
        if (value == QLatin1String("alClient"))
            m_align = TAlign::alClient;
        else if (value == QLatin1String("alCustom"))
            m_align = TAlign::alCustom;
        else if (value == QLatin1String("alNone"))
            m_align = TAlign::alNone;
        else
            return Accept::BadValue;
        return Accept::Yes;
    }
    if (key == QLatin1String("Constraints.MaxWidth") || key == QLatin1String("Constraints.MaxHeight")) {
        const int v = parseInt(value, &ok);
        if (!ok || v < 0)
            return Accept::BadValue;
        (key.endsWith(QLatin1String("Width")) ? m_maxWidth : m_maxHeight) = v;
        return Accept::Yes;
    }
    return TControl::setLayoutProperty(key, value);
}

void TImage::layoutLoaded()
{
    // A client-aligned image follows its parent's size; its owner may lay it
    // out differently (the view window does, for scrolling).
    if (m_align == TAlign::alClient && parentWidget()) {
        parentWidget()->installEventFilter(this);
        setGeometry(parentWidget()->rect());
    }
}

bool TImage::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == parentWidget() && e->type() == QEvent::Resize && m_align == TAlign::alClient && !OwnerLaysOut)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, e);
}

} // namespace vcl
