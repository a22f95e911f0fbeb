#include "forms/Application.h"
#include "controls/EventGuard.h"
#include "forms/Exceptions.h"
#include "graphics/Icon.h"
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>

// The built-in resources of a static library must be registered by hand.
static void initMainResources() { Q_INIT_RESOURCE(resources); }

namespace vcl {

TApplication* Application = nullptr;

TApplication::TApplication(const QString& exePath)
{
    initMainResources();
    Title = titleFromExeName(exePath);
    Icon = loadMainIcon(QStringLiteral(":/resources/MAINICON.ico"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setWindowIcon(Icon);
    QApplication::setQuitOnLastWindowClosed(false);
    Application = this;
    m_previousReporter = setErrorReporter([this](const std::exception& e) { ShowException(e); });
}

TApplication::~TApplication()
{
    for (auto it = m_forms.rbegin(); it != m_forms.rend(); ++it)
        (*it)->hide();
    // The view window (created last, a child of the main window) goes first.
    while (!m_forms.empty()) {
        TForm* f = m_forms.back();
        m_forms.pop_back();
        delete f;
    }
    setErrorReporter(m_previousReporter);
    if (Application == this)
        Application = nullptr;
}

QString TApplication::titleFromExeName(const QString& exePath)
{
    QString name = exePath;
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    name = name.mid(slash + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString TApplication::withFullStop(const QString& text)
{
    if (!text.isEmpty() && text.back().unicode() > u'.')
        return text + u'.';
    return text;
}

QIcon TApplication::loadMainIcon(const QString& resourcePath)
{
    TIcon icon;
    try {
        icon.LoadFromFile(resourcePath);
        const QIcon q = icon.toQIcon(32);
        if (!q.isNull())
            return q;
    } catch (const std::exception&) {
    }
    return QApplication::style()->standardIcon(QStyle::SP_DesktopIcon);
}

void TApplication::adopt(TForm* form)
{
    m_forms.push_back(form);
    if (!form->windowIcon().cacheKey() || form->windowIcon().isNull())
        form->setWindowIcon(Icon);
    form->createFromLayout(loadLayout(form->layoutResource()));
    // Every other window belongs to the main window's group: one taskbar
    // entry, minimised and restored with it.
    if (m_mainForm)
        form->SetGroupLeader(m_mainForm);
    if (form->storedVisible())
        form->Show();
    if (!m_mainForm)
        m_mainForm = form;
}

int TApplication::Run()
{
    if (m_terminated)
        return 0;
    return QApplication::exec();
}

void TApplication::Terminate()
{
    if (m_terminated)
        return;
    m_terminated = true;
    for (TForm* f : m_forms)
        f->hide();
    QApplication::quit();
}

void TApplication::ShowException(const std::exception& e)
{
    QString text;
    if (auto* ve = dynamic_cast<const Exception*>(&e))
        text = ve->Message();
    else
        text = QString::fromUtf8(e.what());
    QPointer<QWidget> active = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, Title, withFullStop(text), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (active) {
        active->raise();
        active->activateWindow();
    }
}

} // namespace vcl
