#pragma once
// Standard controls: the entry line, the check box, the push button with an
// accelerator, and the bevelled panel.
#include "controls/Control.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace vcl {

class TEdit : public QLineEdit, public TControl {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& t) { setText(t); }
    void SelectAll() { selectAll(); }

    // Raised for every character the line receives (Enter, Esc, Backspace and
    // Ctrl+letter included, Tab not). A handler that sets Key to 0 keeps the
    // character from the line.
    TKeyPressEvent OnKeyPress;

    Accept setLayoutProperty(const QString& key, const QString& value) override;
    Accept bindEvent(const QString& event, const EventHandler& handler) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
};

class TCheckBox : public QCheckBox, public TControl {
    Q_OBJECT
public:
    explicit TCheckBox(QWidget* parent = nullptr);
    bool Checked() const { return isChecked(); }
    TNotifyEvent OnClick;

    Accept setLayoutProperty(const QString& key, const QString& value) override;
    Accept bindEvent(const QString& event, const EventHandler& handler) override;
};

// A push button whose caption may carry an "&" accelerator. The accelerator
// works with Alt anywhere in the window, and plain while the focus is on a
// button or check box, as on the classic desktop.
class TBitBtn : public QPushButton, public TControl {
    Q_OBJECT
public:
    explicit TBitBtn(QWidget* parent = nullptr);
    TNotifyEvent OnClick;

    Accept setLayoutProperty(const QString& key, const QString& value) override;
    Accept bindEvent(const QString& event, const EventHandler& handler) override;
    QChar accelerator() const { return m_accel; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QChar m_accel;
};

// A frame with a raised outer and a lowered inner bevel, one pixel each.
class TPanel : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);
    Accept setLayoutProperty(const QString& key, const QString& value) override;
    // The area offered to children: inside both bevels.
    QRect clientArea() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int m_bevelWidth = 1;
    bool m_outerRaised = true;
    bool m_innerLowered = true;
};

} // namespace vcl
