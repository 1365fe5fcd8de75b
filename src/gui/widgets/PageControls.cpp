#include "gui/widgets/PageControls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

#include <iterator>

namespace starfall {

namespace {

struct AccessKey {
    const char* objectName;
    Qt::Key letter;
};

constexpr AccessKey kAccessKeys[] = {
    {"okButton", Qt::Key_O},      {"cancelButton", Qt::Key_C}, {"weaponsButton", Qt::Key_W},
    {"skillTableButton", Qt::Key_K}, {"goButton", Qt::Key_G},
};

} // namespace

QPushButton* pageButton(const char* text, const char* objectName, QWidget* parent) {
    auto* made = new QPushButton(QString::fromUtf8(text), parent);
    made->setObjectName(QString::fromLatin1(objectName));
    // Enter presses nothing on the pages and in the dialogs.
    made->setAutoDefault(false);
    made->setDefault(false);
    giveAccessKey(made);
    return made;
}

// A button's shortcut only fires while the button is visible, so the same
// key on every page presses the button of the page shown.
void giveAccessKey(QAbstractButton* button) {
    for (const AccessKey& key : kAccessKeys) {
        if (button->objectName() == QLatin1String(key.objectName))
            button->setShortcut(QKeySequence(Qt::ALT | key.letter));
    }
}

namespace {

constexpr Qt::Key kTabDigits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                                  Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9};

QKeySequence tabAccessKey(int tab) {
    return QKeySequence(Qt::ALT | kTabDigits[tab]);
}

bool hasTabAccessKey(int tab) {
    return tab >= 0 && tab < static_cast<int>(std::size(kTabDigits));
}

} // namespace

void giveTabsAccessKeys(QTabWidget* tabs) {
    for (int tab = 0; tab < tabs->count() && hasTabAccessKey(tab); ++tab) {
        auto* shortcut = new QShortcut(tabAccessKey(tab), tabs);
        QObject::connect(shortcut, &QShortcut::activated, tabs,
                         [tabs, tab] { tabs->setCurrentIndex(tab); });
        showTabAccessKey(tabs, tab);
    }
}

void showTabAccessKey(QTabWidget* tabs, int tab) {
    if (hasTabAccessKey(tab))
        tabs->setTabToolTip(tab, tabAccessKey(tab).toString(QKeySequence::NativeText));
}

QWidget* controlForKey(std::span<const KeyedControl> controls, std::string_view key) {
    for (const auto& [field, control] : controls) {
        if (field == key)
            return control;
    }
    return nullptr;
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
