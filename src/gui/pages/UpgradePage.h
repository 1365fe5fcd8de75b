#pragma once

// The upgrade tab: the 90 increments of the upgrade table in edit boxes, a
// painted notice band at the top, "取消" (re-read) and "确定" (save). The values
// live only in the edit boxes.

#include "gui/pages/EditorPage.h"
#include "core/upgrade/UpgradeTable.h"

#include <QFont>

#include <array>

class QGridLayout;
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
    void saveUpgradeTable();
    void reloadFromImage() override { loadUpgradeTable(); }

    [[nodiscard]] QLineEdit* edit(int row, int stage) const;
    // Where the band goes on a page `width` pixels wide.
    [[nodiscard]] static int noticeLeft(int width) { return (width - kNoticeWidth) / 2; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void addHeadings(QGridLayout* grid);
    void addRow(QGridLayout* grid, int row);
    [[nodiscard]] UpgradeTable tableFromEdits() const;
    void showTable(const UpgradeTable& table);

    std::array<std::array<QLineEdit*, kUpgradeStageCount>, kUpgradeRowCount> m_edits{};
    QPushButton* m_cancel = nullptr;
    QPushButton* m_ok = nullptr;
    QFont m_noticeFont;
    UpgradeTable m_table; // as read, so that a save writes only what changed
};

} // namespace starfall
