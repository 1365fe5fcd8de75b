#include "gui/pages/OriginalMarks.h"

#include "core/pilot/PilotRecordFile.h"
#include "core/text/Messages.h"
#include "core/unit/UnitRecordFile.h"
#include "core/upgrade/UpgradeTable.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "gui/widgets/MessagePresenter.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

namespace starfall {

namespace {

constexpr const char* kMarked = "originalMarked";
constexpr const char* kOwnToolTip = "ownToolTip";
constexpr const char* kOwnDescription = "ownAccessibleDescription";
constexpr const char* kOwnStyle = "ownStyleSheet";
const QString kFrame = QStringLiteral("border: 2px solid #d97706;");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "repair_cost" -> "repairCost", "terrain.air" -> "terrainAir".
QString camel(std::string_view key) {
    QString out;
    bool upper = false;
    for (const char c : key) {
        if (c == '_' || c == '.') {
            upper = true;
            continue;
        }
        out += upper ? QChar(c).toUpper() : QChar(c);
        upper = false;
    }
    return out;
}

void mark(QWidget* control, const std::string& before) {
    if (!control->property(kMarked).toBool()) {
        control->setProperty(kOwnToolTip, control->toolTip());
        control->setProperty(kOwnDescription, control->accessibleDescription());
        control->setProperty(kOwnStyle, control->styleSheet());
        control->setProperty(kMarked, true);
    }
    const QString text = fromUtf8(messages::originalValue(before));
    control->setToolTip(text);
    control->setAccessibleDescription(text);
    control->setStyleSheet(control->property(kOwnStyle).toString() + kFrame);
}

void unmark(QWidget* control) {
    if (!control->property(kMarked).toBool())
        return;
    control->setToolTip(control->property(kOwnToolTip).toString());
    control->setAccessibleDescription(control->property(kOwnDescription).toString());
    control->setStyleSheet(control->property(kOwnStyle).toString());
    control->setProperty(kMarked, false);
}

void unmarkAll(QWidget* page) {
    for (QWidget* control : page->findChildren<QWidget*>()) {
        if (control->property(kMarked).toBool())
            unmark(control);
    }
}

// The layout among `root`'s that holds `widget`.
QBoxLayout* layoutHolding(QLayout* root, QWidget* widget) {
    if (root == nullptr)
        return nullptr;
    if (root->indexOf(widget) >= 0)
        return qobject_cast<QBoxLayout*>(root);
    for (int i = 0; i < root->count(); ++i) {
        if (QBoxLayout* found = layoutHolding(root->itemAt(i)->layout(), widget))
            return found;
    }
    return nullptr;
}

// Reads the original; a failure is reported and ends nothing: the image
// itself is still open and sound.
template <typename Load> bool loadOriginal(QWidget* page, Load load) {
    try {
        load();
        return true;
    } catch (const CoreError& error) {
        messagePresenter().show(page, messageFor(error));
        return false;
    }
}

} // namespace

QString controlNameFor(std::string_view key) {
    const QString name = camel(key);
    if (key == "sp")
        return QStringLiteral("spiritPointsEdit");
    if (key.starts_with("abilities."))
        return QStringLiteral("abilityList") + fromUtf8(key.substr(10));
    if (key.starts_with("spirits.")) {
        const std::string_view rest = key.substr(8);
        const std::string_view number = rest.substr(0, rest.find('.'));
        return (rest.ends_with(".command") ? QStringLiteral("spiritCommand")
                                           : QStringLiteral("learnLevel")) +
               fromUtf8(number);
    }
    if (key == "personality")
        return name + QStringLiteral("List");
    if (key.starts_with("terrain.") || key == "parts_slots" || key == "movement_type")
        return name + QStringLiteral("Combo");
    return name + QStringLiteral("Edit");
}

void markFields(QWidget* page, const RecordChange* change) {
    unmarkAll(page);
    if (change == nullptr)
        return;
    for (const FieldChange& field : change->fields) {
        if (auto* control = page->findChild<QWidget*>(controlNameFor(field.key)))
            mark(control, field.before);
    }
}

void markFields(UpgradePage& page, const RecordChange* change) {
    unmarkAll(&page);
    if (change == nullptr)
        return;
    const auto& fields = upgradeFields();
    for (const FieldChange& field : change->fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].key == field.key)
                mark(page.edit(static_cast<int>(i) / kUpgradeStageCount,
                               static_cast<int>(i) % kUpgradeStageCount + 1),
                     field.before);
        }
    }
}

bool isMarked(const QWidget* control) {
    return control->property(kMarked).toBool();
}

bool showOriginalValues(UnitPage& page, const std::string& original) {
    if (page.currentRow() < 0)
        return false;
    const UnitPlace place =
        UnitPlace::fromList(page.nameList(), static_cast<std::size_t>(page.currentRow()));
    UnitPageValues values;
    values.searchText = page.ui().search->text().toStdString();
    if (!loadOriginal(&page, [&] { values.record = loadUnitRecord(original, place); }))
        return false;
    page.ui().showAbilities(values.record);
    page.ui().refresh(values);
    return true;
}

bool showOriginalValues(PilotPage& page, const std::string& original) {
    if (!page.selectedIndex())
        return false;
    const PilotReference reference = PilotReference::fromList(page.nameList(), *page.selectedIndex());
    PilotPageValues values;
    values.searchText = page.ui().search->text().toStdString();
    if (!loadOriginal(&page, [&] { values.record = loadPilotRecord(original, reference); }))
        return false;
    page.ui().refresh(values);
    return true;
}

QPushButton* addOriginalValuesButton(QWidget* page) {
    auto* button = new QPushButton(QStringLiteral("원본 값으로"), page);
    button->setObjectName(QStringLiteral("originalValuesButton"));
    button->setAccessibleName(button->text());
    button->setEnabled(false);
    auto* cancel = page->findChild<QPushButton*>(QStringLiteral("cancelButton"));
    QBoxLayout* row = cancel != nullptr ? layoutHolding(page->layout(), cancel) : nullptr;
    if (row != nullptr)
        row->insertWidget(row->indexOf(cancel), button);
    else
        button->hide(); // a page without its Cancel in a row gets no button
    return button;
}

} // namespace starfall
