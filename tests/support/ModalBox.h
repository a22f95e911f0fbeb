#pragma once
// Reads and accepts the next application-modal message box. The watch ends
// when the returned record is dropped, so it can't catch a later test's box.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace testsupport {

struct SeenBox {
    bool seen = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    bool applicationModal = false;
    std::unique_ptr<QTimer> timer;
};

inline std::shared_ptr<SeenBox> acceptNextBox()
{
    auto seen = std::make_shared<SeenBox>();
    seen->timer = std::make_unique<QTimer>();
    std::weak_ptr<SeenBox> weak = seen;
    QObject::connect(seen->timer.get(), &QTimer::timeout, [weak] {
        auto s = weak.lock();
        if (!s || s->seen)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            s->seen = true;
            s->title = box->windowTitle();
            s->text = box->text();
            s->icon = box->icon();
            s->buttonCount = int(box->buttons().size());
            s->applicationModal = box->windowModality() == Qt::ApplicationModal;
            box->accept();
            s->timer->stop();
        }
    });
    seen->timer->start(5);
    return seen;
}

} // namespace testsupport
