#pragma once

// The group of four terrain drop-downs of the unit and pilot pages and the
// weapon editor: air, space, land and sea in two rows of two, each with its
// caption as buddy.

#include <QString>

#include <array>
#include <span>
#include <string_view>

class QGroupBox;
class QWidget;

namespace starfall {

class ChoiceCombo;

using TerrainCombos = std::array<ChoiceCombo*, 4>; // air, space, land, sea

// Fills `combos` with lists of `items` (UTF-8) inside the new group.
[[nodiscard]] QGroupBox* makeTerrainGroup(const QString& title, const QString& objectName,
                                          std::span<const std::string_view> items,
                                          TerrainCombos& combos, QWidget* parent);

} // namespace starfall
