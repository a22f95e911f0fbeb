#pragma once
// The view window: the current picture at its actual size, with scroll bars
// over the extents the actual-size button gives it.
#include "controls/Image.h"
#include "forms/Form.h"

class QScrollBar;

// A window scroll bar: an extent set by the program, a position kept in
// range, an 8-pixel arrow step and a page of one client extent.
class TControlScrollBar {
public:
    TControlScrollBar(QScrollBar* bar, Qt::Orientation o) : m_bar(bar), m_orientation(o) {}
    int Range() const { return m_range; }
    int Position() const { return m_position; }
    int Increment() const { return 8; }
    bool Tracking() const { return false; }
    bool IsScrollBarVisible() const;
    QScrollBar* bar() const { return m_bar; }

private:
    friend class TViewForm;
    QScrollBar* m_bar;
    Qt::Orientation m_orientation;
    int m_range = 0;
    int m_position = 0;
};

class TViewForm : public vcl::TForm {
    Q_OBJECT
public:
    explicit TViewForm(QWidget* parent = nullptr);
    ~TViewForm() override;

    vcl::TImage* Image1 = nullptr;

    TControlScrollBar* HorzScrollBar() { return &m_horz; }
    TControlScrollBar* VertScrollBar() { return &m_vert; }
    // Sets both extents at once, updating the bars and the image's layout.
    void SetRanges(int horizontal, int vertical);
    void SetHorzRange(int r) { SetRanges(r, m_vert.m_range); }
    void SetVertRange(int r) { SetRanges(m_horz.m_range, r); }
    // The client area left beside the visible bars.
    QSize ClientSize() const;
    // The window system's scroll-bar thickness.
    int ScrollBarThickness() const;

    QString layoutResource() const override { return QStringLiteral(":/viewer/ViewForm.layout"); }
    QString className() const override { return QStringLiteral("TViewForm"); }

protected:
    std::vector<Member> members() override;
    vcl::Accept setFormProperty(const QString& key, const QString& value) override;
    void resizeEvent(QResizeEvent* e) override;
    void Loaded() override;

private:
    void updateScrollBars();
    void scrolled();
    QScrollBar* m_hbar;
    QScrollBar* m_vbar;
    TControlScrollBar m_horz;
    TControlScrollBar m_vert;
    bool m_autoScroll = false;
};

extern TViewForm* ViewForm;
