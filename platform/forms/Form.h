#pragma once
// A top-level window built from its stored layout.
#include "controls/Control.h"
#include "forms/Layout.h"
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

namespace vcl {

class TIcon;

class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& c) { setWindowTitle(c); }

    // The title-bar icon; an empty icon stands for the program's own.
    const TIcon& Icon() const;
    void SetIcon(const TIcon& icon);

    TControl* ActiveControl() const { return m_activeControl; }
    TControl* FindControl(const QString& name) const;
    const std::vector<TControl*>& Controls() const { return m_controls; }

    bool Visible() const { return isVisible(); }
    // Shows the window, brings it to the top and activates it.
    void Show();

    // Builds the window from its layout: properties, controls by class,
    // members, handlers, links in layout order, tab order, screen scaling,
    // then OnCreate. Throws LayoutError for anything it does not understand.
    void createFromLayout(const Layout& layout);
    // Resource path of this class's stored layout.
    virtual QString layoutResource() const = 0;
    virtual QString className() const = 0;
    bool storedVisible() const { return m_storedVisible; }

    // The window this one is grouped with: one taskbar entry, minimised and
    // restored with it. The window system only groups secondary windows
    // (transient for their leader), so this one becomes one, keeping its
    // own border icons.
    void SetGroupLeader(QWidget* leader);

    // Scale factor applied at creation for the screen's text height.
    double densityScale() const { return m_scale; }

signals:
    void closing();

protected:
    struct Member {
        QString name;
        std::function<bool(TControl*)> bind;   // false: wrong class
    };
    template <class T>
    static Member member(const char* name, T*& slot)
    {
        return {QString::fromLatin1(name), [&slot](TControl* c) {
                    slot = dynamic_cast<T*>(c);
                    return slot != nullptr;
                }};
    }
    template <class F>
    TNotifyEvent notify(void (F::*fn)(TObject*))
    {
        return [this, fn](TObject* s) { (static_cast<F*>(this)->*fn)(s); };
    }
    template <class F>
    TKeyPressEvent keyPress(void (F::*fn)(TObject*, QChar&))
    {
        return [this, fn](TObject* s, QChar& k) { (static_cast<F*>(this)->*fn)(s, k); };
    }

    // The members the class declares, bound by name to the layout's controls.
    virtual std::vector<Member> members() { return {}; }
    // The handlers the layout may name.
    virtual std::map<QString, EventHandler> handlers() { return {}; }
    // Runs once the layout is read, before OnCreate.
    virtual void Loaded() {}
    // Lets a subclass take form properties of its own.
    virtual Accept setFormProperty(const QString& key, const QString& value);

    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void applyFormProperty(const LayoutEntry& e, const QString& source);
    void applyScaling();

    std::vector<TControl*> m_controls;
    TControl* m_activeControl = nullptr;
    TNotifyEvent m_onCreate;
    bool m_storedVisible = false;
    bool m_fixedSize = false;
    bool m_defaultPosition = false;
    QRect m_storedGeometry;   // outer left/top, client width/height
    double m_scale = 1.0;
    std::unique_ptr<TIcon> m_icon;
    QPointer<QWidget> m_groupLeader;
};

} // namespace vcl
