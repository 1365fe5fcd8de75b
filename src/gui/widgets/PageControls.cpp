#include "gui/widgets/PageControls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace starfall {

QPushButton* pageButton(const char* text, const char* objectName, QWidget* parent) {
    auto* made = new QPushButton(QString::fromUtf8(text), parent);
    made->setObjectName(QString::fromLatin1(objectName));
    // Enter presses nothing on the pages and in the dialogs.
    made->setAutoDefault(false);
    made->setDefault(false);
    return made;
}

QLabel* recordNameLabel(QWidget* parent) {
    auto* name = new QLabel(parent);
    name->setObjectName(QStringLiteral("nameLabel"));
    name->setAlignment(Qt::AlignCenter);
    QPalette palette = name->palette();
    palette.setColor(QPalette::WindowText, QColor(70, 30, 250));
    name->setPalette(palette);
    return name;
}

QHBoxLayout* buttonRow(QPushButton* first, QPushButton* second) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(first);
    row->addWidget(second);
    return row;
}

} // namespace starfall
