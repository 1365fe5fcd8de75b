#include "gui/app/AboutDialog.h"

#include "gui/widgets/EditorFrame.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace starfall {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("프로그램 정보"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(editorIcon().pixmap(32, 32));
    icon->setAccessibleName(QStringLiteral("Starfall Editor"));

    auto* name = new QLabel(QStringLiteral("Starfall Editor v1.3"), this);
    name->setObjectName(QStringLiteral("aboutText"));

    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* closeColumn = new QVBoxLayout;
    closeColumn->addWidget(close);
    closeColumn->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(name, 1, Qt::AlignTop);
    layout->addLayout(closeColumn);
    fixDialogFrame(this);
}

} // namespace starfall
