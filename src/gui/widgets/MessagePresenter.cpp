#include "gui/widgets/MessagePresenter.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

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

namespace starfall {

EditsChoice BoxMessagePresenter::ask(QWidget* parent, const Message& question) {
    if (nobodyCanClick()) {
        std::fprintf(stderr, "%s: %s\n", question.title.c_str(), question.text.c_str());
        return EditsChoice::Discard;
    }
    QMessageBox box(boxIcon(question.icon), QString::fromStdString(question.title),
                    QString::fromStdString(question.text), QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QStringLiteral("저장(&S)"), QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("saveEditsButton"));
    QPushButton* discard =
        box.addButton(QStringLiteral("저장 안 함(&N)"), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("discardEditsButton"));
    QPushButton* cancel = box.addButton(QStringLiteral("취소"), QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelEditsButton"));
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return EditsChoice::Save;
    if (box.clickedButton() == discard)
        return EditsChoice::Discard;
    return EditsChoice::Cancel;
}

} // namespace starfall
