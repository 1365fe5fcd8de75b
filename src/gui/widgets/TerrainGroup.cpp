#include "gui/widgets/TerrainGroup.h"

#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/ControlLabels.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace starfall {

namespace {

constexpr std::array<const char*, 4> kTerrainLabels = {"空", "宇", "陆", "海"};
constexpr std::array<const char*, 4> kTerrainNames = {"Air", "Space", "Land", "Sea"};

} // namespace

QGroupBox* makeTerrainGroup(const QString& title, const QString& objectName,
                            std::span<const std::string_view> items, TerrainCombos& combos,
                            QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(objectName);
    auto* grid = new QGridLayout(group);
    for (std::size_t i = 0; i < combos.size(); ++i) {
        auto* combo = new ChoiceCombo(
            QStringLiteral("terrain%1Combo").arg(QLatin1String(kTerrainNames[i])), items, group);
        const int row = static_cast<int>(i) / 2;
        const int column = static_cast<int>(i) % 2 * 2;
        grid->addWidget(captionFor(QString::fromUtf8(kTerrainLabels[i]), combo), row, column);
        grid->addWidget(combo, row, column + 1);
        combos[i] = combo;
    }
    return group;
}

} // namespace starfall
