// The program: creates the browser window, then the hidden view window, and
// runs until the browser window is closed.
#include "browser/ImageWin.h"
#include "forms/Application.h"
#include "viewer/ViewWin.h"
#include <QApplication>
#include <QFont>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    vcl::TApplication app(QString::fromLocal8Bit(argv[0]));
    try {
        app.Initialize();
        app.CreateForm(ImageForm);
        app.CreateForm(ViewForm);
    } catch (const vcl::LayoutError& e) {
        QMessageBox::critical(nullptr, app.Title, e.message());
        return 1;
    }
    return app.Run();
}
