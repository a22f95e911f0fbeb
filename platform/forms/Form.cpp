#include "forms/Form.h"
#include "forms/Application.h"
#include "forms/ControlFactory.h"
#include "controls/StdControls.h"
#include <QApplication>
#include <QKeyEvent>
#include "graphics/Icon.h"
#include <QCloseEvent>
#include <QFontMetrics>
#include <QStyle>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace vcl {

namespace {

QString where(const QString& source, int line) { return QStringLiteral("%1:%2").arg(source).arg(line); }

// Positive integer scaling with halves rounded away from zero.
int scaled(int v, int num, int den)
{
    const long long p = static_cast<long long>(v) * num;
    const long long q = (std::llabs(p) * 2 + den) / (2LL * den);
    return static_cast<int>(p < 0 ? -q : q);
}

// The design font names are those of the classic desktop; this system has
// neither, so both map to one pinned face to keep the layout's metrics.
QFont fontFromLayout(const QString& value, bool* ok)
{
    *ok = false;
    const qsizetype comma = value.lastIndexOf(u',');
    if (comma < 0)
        return {};
    const QString name = TControl::parseString(value.left(comma).trimmed(), ok);
    if (!*ok)
        return {};
    QString size = value.mid(comma + 1).trimmed();
    QFont f(QStringLiteral("DejaVu Sans"));
    Q_UNUSED(name);
    bool numOk = false;
    if (size.endsWith(QLatin1String("pt"))) {
        f.setPointSize(size.chopped(2).toInt(&numOk));
    } else if (size.endsWith(QLatin1String("px"))) {
        f.setPixelSize(size.chopped(2).toInt(&numOk));
    }
    *ok = numOk;
    return f;
}

} // namespace

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    // A window whose layout stores no colour has the system's window colour.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
    setAutoFillBackground(true);
}

TForm::~TForm() = default;

const TIcon& TForm::Icon() const
{
    static const TIcon empty;
    return m_icon ? *m_icon : empty;
}

void TForm::SetIcon(const TIcon& icon)
{
    if (!m_icon)
        m_icon = std::make_unique<TIcon>();
    m_icon->Assign(icon);
    const QIcon q = m_icon->toQIcon();
    setWindowIcon(q.isNull() && Application ? Application->Icon : q);
}

TControl* TForm::FindControl(const QString& name) const
{
    for (TControl* c : m_controls)
        if (c->Name == name)
            return c;
    return nullptr;
}

void TForm::Show()
{
    show();
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

Accept TForm::setFormProperty(const QString&, const QString&) { return Accept::UnknownKey; }

void TForm::applyFormProperty(const LayoutEntry& e, const QString& source)
{
    bool ok = true;
    const QString& v = e.value;
    auto intValue = [&] { return TControl::parseInt(v, &ok); };
    if (e.key == QLatin1String("Caption")) {
        SetCaption(TControl::parseString(v, &ok));
    } else if (e.key == QLatin1String("Left")) {
        m_storedGeometry.moveLeft(intValue());
    } else if (e.key == QLatin1String("Top")) {
        m_storedGeometry.moveTop(intValue());
    } else if (e.key == QLatin1String("ClientWidth")) {
        m_storedGeometry.setWidth(intValue());
    } else if (e.key == QLatin1String("ClientHeight")) {
        m_storedGeometry.setHeight(intValue());
    } else if (e.key == QLatin1String("BorderStyle")) {
        ok = v == QLatin1String("bsSingle") || v == QLatin1String("bsSizeable");
        m_fixedSize = v == QLatin1String("bsSingle");
    } else if (e.key == QLatin1String("BorderIcons")) {
        Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        for (const QString& part : v.split(u',')) {
            const QString p = part.trimmed();
            if (p == QLatin1String("biSystemMenu"))
                flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            else if (p == QLatin1String("biMinimize"))
                flags |= Qt::WindowMinimizeButtonHint;
            else if (p == QLatin1String("biMaximize"))
                flags |= Qt::WindowMaximizeButtonHint;
            else
                ok = false;
        }
        setWindowFlags(flags);
    } else if (e.key == QLatin1String("Color")) {
        QPalette pal = palette();
        if (v == QLatin1String("clBtnFace"))
            pal.setColor(QPalette::Window, pal.color(QPalette::Button));
        else if (v == QLatin1String("clWindow"))
            pal.setColor(QPalette::Window, pal.color(QPalette::Base));
        else
            ok = false;
        setPalette(pal);
        setAutoFillBackground(true);
    } else if (e.key == QLatin1String("Font")) {
        QFont f = fontFromLayout(v, &ok);
        if (ok)
            setFont(f);
    } else if (e.key == QLatin1String("Position")) {
        ok = v == QLatin1String("poDesigned") || v == QLatin1String("poDefault");
        m_defaultPosition = v == QLatin1String("poDefault");
    } else if (e.key == QLatin1String("Visible")) {
        m_storedVisible = TControl::parseBool(v, &ok);
    } else {
        const Accept a = setFormProperty(e.key, v);
        if (a == Accept::UnknownKey)
            throw LayoutError(QStringLiteral("%1: %2 has no property %3").arg(where(source, e.line), className(), e.key));
        ok = a == Accept::Yes;
    }
    if (!ok)
        throw LayoutError(QStringLiteral("%1: bad value for %2: %3").arg(where(source, e.line), e.key, v));
}

void TForm::createFromLayout(const Layout& layout)
{
    const QString& src = layout.source;
    if (layout.form.className != className())
        throw LayoutError(QStringLiteral("%1: the layout is for %2, not %3")
                              .arg(where(src, layout.form.line), layout.form.className, className()));
    setObjectName(layout.form.name);
    const auto handlerTable = handlers();
    auto findHandler = [&](const LayoutEntry& e) -> const EventHandler& {
        auto it = handlerTable.find(e.value);
        if (it == handlerTable.end())
            throw LayoutError(QStringLiteral("%1: %2 has no handler named %3").arg(where(src, e.line), className(), e.value));
        return it->second;
    };

    for (const LayoutEntry& e : layout.form.entries) {
        if (e.kind == LayoutEntry::Kind::Property) {
            applyFormProperty(e, src);
        } else if (e.kind == LayoutEntry::Kind::Event) {
            if (e.key != QLatin1String("OnCreate"))
                throw LayoutError(QStringLiteral("%1: a window has no event %2").arg(where(src, e.line), e.key));
            if (bindNotify(findHandler(e), m_onCreate) != Accept::Yes)
                throw LayoutError(QStringLiteral("%1: handler %2 does not fit %3").arg(where(src, e.line), e.value, e.key));
        } else if (e.key != QLatin1String("ActiveControl")) {
            throw LayoutError(QStringLiteral("%1: a window has no link %2").arg(where(src, e.line), e.key));
        }
    }

    // Controls, in layout order.
    for (const LayoutObject& o : layout.controls) {
        QWidget* parent = this;
        if (!o.parentName.isEmpty())
            parent = FindControl(o.parentName)->widget();
        TControl* c = ControlFactory::instance().create(o.className, parent);
        if (!c)
            throw LayoutError(QStringLiteral("%1: unknown control class %2").arg(where(src, o.line), o.className));
        c->Name = o.name;
        c->widget()->setObjectName(o.name);
        m_controls.push_back(c);
        for (const LayoutEntry& e : o.entries) {
            bool ok = true;
            if (e.kind == LayoutEntry::Kind::Event) {
                const Accept a = c->bindEvent(e.key, findHandler(e));
                if (a == Accept::UnknownKey)
                    throw LayoutError(QStringLiteral("%1: %2 has no event %3").arg(where(src, e.line), o.className, e.key));
                if (a != Accept::Yes)
                    throw LayoutError(QStringLiteral("%1: handler %2 does not fit %3").arg(where(src, e.line), e.value, e.key));
                continue;
            }
            if (e.kind == LayoutEntry::Kind::Link)
                continue;   // wired once every control exists
            if (e.key == QLatin1String("Bounds")) {
                const QStringList n = e.value.split(u',');
                int vals[4] = {};
                ok = n.size() == 4;
                for (int i = 0; ok && i < 4; ++i)
                    vals[i] = n[i].trimmed().toInt(&ok);
                ok = ok && vals[2] >= 0 && vals[3] >= 0;
                c->StoredBounds = QRect(vals[0], vals[1], vals[2], vals[3]);
            } else if (e.key == QLatin1String("TabOrder")) {
                c->TabOrder = TControl::parseInt(e.value, &ok);
            } else if (e.key == QLatin1String("TabStop")) {
                c->TabStop = TControl::parseBool(e.value, &ok);
            } else {
                const Accept a = c->setLayoutProperty(e.key, e.value);
                if (a == Accept::UnknownKey)
                    throw LayoutError(QStringLiteral("%1: %2 has no property %3").arg(where(src, e.line), o.className, e.key));
                ok = a == Accept::Yes;
            }
            if (!ok)
                throw LayoutError(QStringLiteral("%1: bad value for %2: %3").arg(where(src, e.line), e.key, e.value));
        }
        c->widget()->setGeometry(c->StoredBounds);
        c->layoutLoaded();
    }

    // Members declared by the class.
    for (const Member& m : members()) {
        TControl* c = FindControl(m.name);
        if (!c)
            throw LayoutError(QStringLiteral("%1: the layout has no control %2").arg(src, m.name));
        if (!m.bind(c))
            throw LayoutError(QStringLiteral("%1: control %2 is not of the class %3 declares").arg(src, m.name, className()));
    }

    // Links, in layout order: the window's first, then each control's.
    auto target = [&](const LayoutEntry& e) {
        TControl* t = FindControl(e.value);
        if (!t)
            throw LayoutError(QStringLiteral("%1: no control named %2").arg(where(src, e.line), e.value));
        return t;
    };
    for (const LayoutEntry& e : layout.form.entries)
        if (e.kind == LayoutEntry::Kind::Link)
            m_activeControl = target(e);
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        for (const LayoutEntry& e : layout.controls[i].entries) {
            if (e.kind != LayoutEntry::Kind::Link)
                continue;
            const Accept a = m_controls[i]->setLayoutLink(e.key, target(e));
            if (a == Accept::UnknownKey)
                throw LayoutError(QStringLiteral("%1: %2 has no link %3").arg(where(src, e.line), layout.controls[i].className, e.key));
            if (a != Accept::Yes)
                throw LayoutError(QStringLiteral("%1: %2 cannot link to %3").arg(where(src, e.line), e.key, e.value));
        }
    }

    // Tab order: tab stops chained by their stored position in the chain.
    std::vector<TControl*> chain;
    for (TControl* c : m_controls) {
        if (c->TabOrder >= 0 && c->TabStop && c->widget()->focusPolicy() != Qt::NoFocus)
            chain.push_back(c);
        else if (!c->TabStop && c->widget()->focusPolicy() != Qt::NoFocus)
            c->widget()->setFocusPolicy(Qt::ClickFocus);
    }
    std::stable_sort(chain.begin(), chain.end(), [](TControl* a, TControl* b) { return a->TabOrder < b->TabOrder; });
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1]->widget(), chain[i]->widget());

    applyScaling();
    Loaded();

    if (m_onCreate)
        runGuarded([this] { m_onCreate(this); });
}

void TForm::applyScaling()
{
    // The layout is designed for a text height of 13 pixels ("0" in the
    // window's font at 96 dpi); other heights scale every edge.
    const int h = QFontMetrics(font()).height();
    QRect g = m_storedGeometry;
    int cw = g.width(), ch = g.height();
    // A window the window system places keeps its stored size only as a
    // starting size; nothing in it depends on the design metrics.
    if (h > 0 && h != 13 && !m_defaultPosition) {
        m_scale = h / 13.0;
        for (TControl* c : m_controls) {
            const QRect r = c->StoredBounds;
            const int l = scaled(r.left(), h, 13), t = scaled(r.top(), h, 13);
            const int rr = scaled(r.left() + r.width(), h, 13), b = scaled(r.top() + r.height(), h, 13);
            c->widget()->setGeometry(l, t, rr - l, b - t);
        }
        cw = scaled(cw, h, 13);
        ch = scaled(ch, h, 13);
    }
    if (m_fixedSize)
        setFixedSize(cw, ch);
    else
        resize(cw, ch);
    if (!m_defaultPosition)
        move(g.left(), g.top());
}

void TForm::SetGroupLeader(QWidget* leader)
{
    m_groupLeader = leader;
    setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
}

void TForm::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (m_groupLeader && windowHandle() && m_groupLeader->windowHandle())
        windowHandle()->setTransientParent(m_groupLeader->windowHandle());
    if (m_activeControl && !e->spontaneous())
        m_activeControl->widget()->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm::keyPressEvent(QKeyEvent* e)
{
    // A plain letter typed while a button or check box has the focus presses
    // the button whose accelerator it is, as Alt with the letter does anywhere.
    if (e->modifiers() == Qt::NoModifier && e->text().size() == 1 && e->text().front().isLetterOrNumber()
        && qobject_cast<QAbstractButton*>(focusWidget())) {
        const QChar letter = e->text().front().toUpper();
        for (TControl* c : m_controls) {
            auto* b = dynamic_cast<TBitBtn*>(c);
            if (b && b->accelerator() == letter && b->isEnabled() && b->isVisible()) {
                b->animateClick();
                e->accept();
                return;
            }
        }
    }
    QWidget::keyPressEvent(e);
}

void TForm::closeEvent(QCloseEvent* e)
{
    emit closing();
    if (Application && Application->MainForm() == this) {
        e->ignore();
        Application->Terminate();
        return;
    }
    e->accept();   // any other window is only hidden
}

} // namespace vcl
