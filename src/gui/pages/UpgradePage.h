#pragma once

// The upgrade tab: the 90 increments of the upgrade table in edit boxes, a
// notice band at the top, "取消" (re-read) and "确定" (save). The values
// live only in the edit boxes.

#include "gui/pages/EditorPage.h"
#include "core/upgrade/UpgradeTable.h"

#include <QFont>

#include <array>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace starfall {

class UpgradePage : public EditorPage {
    Q_OBJECT
public:
    static constexpr int kNoticeWidth = 550;
    static constexpr int kNoticeHeight = 22;
    static constexpr int kNoticeTop = 14;

    explicit UpgradePage(QWidget* parent = nullptr);

    void openImage(const ImageSession& session) override;
    void loadUpgradeTable();
    // "确定": whether the table is saved now.
    bool saveUpgradeTable();
    void reloadFromImage() override { loadUpgradeTable(); }
    bool saveEdits() override { return saveUpgradeTable(); }
    [[nodiscard]] bool hasUnsavedEdits() const override { return tableFromEdits() != m_table; }

    [[nodiscard]] QLineEdit* edit(int row, int stage) const;
    // Where the band goes on a page `width` pixels wide.
    [[nodiscard]] static int noticeLeft(int width) { return (width - kNoticeWidth) / 2; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void addHeadings(QGridLayout* grid);
    void addRow(QGridLayout* grid, int row);
    [[nodiscard]] UpgradeTable tableFromEdits() const;
    // The box of a field key, "hp.3" for the third stage of HP.
    [[nodiscard]] QWidget* controlFor(std::string_view key) const;
    void showTable(const UpgradeTable& table);

    std::array<std::array<QLineEdit*, kUpgradeStageCount>, kUpgradeRowCount> m_edits{};
    QPushButton* m_cancel = nullptr;
    QPushButton* m_ok = nullptr;
    QFont m_noticeFont;
    QLabel* m_notice = nullptr;
    UpgradeTable m_table; // as read, so that a save writes only what changed
};

} // namespace starfall
