#pragma once
// The image control: draws its picture inside its own bounds. It paints no
// background: its parent shows around and through the picture.
#include "controls/Control.h"
#include "graphics/Picture.h"
#include <QWidget>

namespace vcl {

enum class TAlign { alNone, alClient, alCustom };

class TImage : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    TPicture& Picture() { return m_picture; }
    const TPicture& Picture() const { return m_picture; }
    // Gives the control a graphic of its own sharing the source's image.
    void SetPicture(const TPicture& source) { m_picture.Assign(source); }

    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on);
    bool Center() const { return m_center; }
    bool Proportional() const { return m_proportional; }
    TAlign Align() const { return m_align; }

    // Where the picture goes inside a control of the given size.
    static QRect destRect(QSize picture, QSize control, bool stretch, bool proportional, bool center);
    QRect DestRect() const;

    Accept setLayoutProperty(const QString& key, const QString& value) override;
    void layoutLoaded() override;

    // Set by a window that lays a client-aligned image out itself.
    bool OwnerLaysOut = false;
    // Called whenever the picture changes, before the repaint.
    std::function<void()> OnPictureChange;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void pictureChanged();
    TPicture m_picture;
    bool m_stretch = false;
    bool m_center = false;
    bool m_proportional = false;
    bool m_autoSize = false;
    TAlign m_align = TAlign::alNone;
    int m_maxWidth = 0, m_maxHeight = 0;
};

} // namespace vcl
