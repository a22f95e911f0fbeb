#pragma once
// The application object: the title and icon, the windows it owns in the
// order they were created, the message loop and the report of errors that
// escape event handlers.
#include "controls/EventGuard.h"
#include "forms/Form.h"
#include <QIcon>
#include <QString>
#include <exception>
#include <vector>

namespace vcl {

class TApplication {
public:
    // exePath: the file the program was started from.
    explicit TApplication(const QString& exePath);
    ~TApplication();   // destroys the windows, the last created first
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void Initialize() {}

    // Creates a window: the reference is set first, then the window is built
    // from its layout (OnCreate included) and shown if its layout says so;
    // the first window created becomes the main window.
    template <class T>
    void CreateForm(T*& ref)
    {
        T* form = new T(m_mainForm);
        ref = form;
        adopt(form);
    }

    // Runs the message loop until the main window is closed.
    int Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }

    TForm* MainForm() const { return m_mainForm; }
    const std::vector<TForm*>& Forms() const { return m_forms; }

    // Shows an error in the application's message box.
    void ShowException(const std::exception& e);

    QString Title;
    QIcon Icon;

    // "C:/x/PICVIEW.EXE" -> "Picview": folder removed, cut at the first ".",
    // every character after the first lower-cased.
    static QString titleFromExeName(const QString& exePath);
    // The message text as the box shows it: a full stop is added when the
    // last character comes after "." in code order.
    static QString withFullStop(const QString& text);
    // The program's own icon, from the built-in resource "MAINICON"; the
    // system's default application icon when it can't be loaded.
    static QIcon loadMainIcon(const QString& resourcePath);

private:
    void adopt(TForm* form);

    std::vector<TForm*> m_forms;
    TForm* m_mainForm = nullptr;
    bool m_terminated = false;
    ErrorReporter m_previousReporter;
};

extern TApplication* Application;

} // namespace vcl
