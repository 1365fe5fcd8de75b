#include "gui/widgets/MessagePresenter.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>

namespace starfall {

namespace {

MessagePresenter* g_installed = nullptr;

QMessageBox::Icon boxIcon(MessageIcon icon) {
    return icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::Information;
}

bool nobodyCanClick() {
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

} // namespace

MessagePresenter& messagePresenter() {
    static BoxMessagePresenter fallback;
    return g_installed ? *g_installed : fallback;
}

void setMessagePresenter(MessagePresenter* presenter) {
    g_installed = presenter;
}

void BoxMessagePresenter::show(QWidget* parent, const Message& message) {
    if (nobodyCanClick()) {
        std::fprintf(stderr, "%s: %s\n", message.title.c_str(), message.text.c_str());
        return;
    }
    QMessageBox box(boxIcon(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text), QMessageBox::Ok, parent);
    box.exec();
}

} // namespace starfall
