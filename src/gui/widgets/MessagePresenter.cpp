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

bool BoxMessagePresenter::confirm(QWidget* parent, const Message& question) {
    if (nobodyCanClick()) {
        std::fprintf(stderr, "%s: %s\n", question.title.c_str(), question.text.c_str());
        return false;
    }
    QMessageBox box(boxIcon(question.icon), QString::fromStdString(question.title),
                    QString::fromStdString(question.text), QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace starfall
