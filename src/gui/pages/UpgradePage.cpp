#include "gui/pages/UpgradePage.h"

#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/EditorFonts.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/NoticeStrip.h"
#include "gui/widgets/PageControls.h"
#include "gui/widgets/RecordSave.h"
#include "core/text/Messages.h"
#include "core/codec/TextNumbers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>
#include <string>

namespace starfall {

namespace {

constexpr std::string_view kNotice = "※ 유니트 개조시 상승하는 능력치를 수정할 수 있습니다.";

QLabel* heading(int stage, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("%1段").arg(stage), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setObjectName(QStringLiteral("stageHeading%1").arg(stage));
    return label;
}

} // namespace

UpgradePage::UpgradePage(QWidget* parent) : EditorPage(parent) {
    setObjectName(QStringLiteral("upgradePage"));
    m_noticeFont = editorFont();
    m_noticeFont.setPixelSize(12);
    m_noticeFont.setWeight(QFont::Normal);
    buildControls();
    m_notice = noticeStrip(this, m_noticeFont, QString::fromUtf8(kNotice), NoticeText::OnWhite,
                           "noticeStrip");
    watchEdits();
}

void UpgradePage::buildControls() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    addHeadings(grid);
    for (int row = 0; row < kUpgradeRowCount; ++row)
        addRow(grid, row);

    m_cancel = pageButton("取消", "cancelButton", this);
    m_ok = pageButton("确定", "okButton", this);
    connect(m_cancel, &QPushButton::clicked, this, &UpgradePage::reloadFromImage);
    connect(m_ok, &QPushButton::clicked, this, &UpgradePage::saveUpgradeTable);
    setSaveButtons({m_ok});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);

    auto* page = new QVBoxLayout(this);
    page->addSpacing(kNoticeTop + kNoticeHeight + 8);
    page->addLayout(grid);
    page->addStretch();
    page->addLayout(buttons);
}

void UpgradePage::addHeadings(QGridLayout* grid) {
    for (int stage = 1; stage <= kUpgradeStageCount; ++stage)
        grid->addWidget(heading(stage, this), 0, stage);
}

void UpgradePage::addRow(QGridLayout* grid, int row) {
    const UpgradeRowInfo& info = kUpgradeRows[static_cast<std::size_t>(row)];
    auto* label = new QLabel(QString::fromUtf8(info.label), this);
    label->setObjectName(QStringLiteral("rowLabel_%1").arg(QString::fromUtf8(info.key)));
    label->setAlignment(Qt::AlignCenter); // every row alike
    grid->addWidget(label, row + 1, 0);

    for (int stage = 1; stage <= kUpgradeStageCount; ++stage) {
        auto* edit =
            new DigitsEdit(QStringLiteral("edit%1").arg(info.firstEditId + stage - 1), this);
        edit->setAccessibleName(
            QStringLiteral("%1 %2段").arg(QString::fromUtf8(info.label)).arg(stage));
        edit->setMinimumWidth(40);
        grid->addWidget(edit, row + 1, stage);
        m_edits[static_cast<std::size_t>(row)][static_cast<std::size_t>(stage - 1)] = edit;
    }
    label->setBuddy(m_edits[static_cast<std::size_t>(row)][0]);
}

void UpgradePage::openImage(const ImageSession& session) {
    setImageSession(session);
    loadUpgradeTable();
}

QLineEdit* UpgradePage::edit(int row, int stage) const {
    return m_edits.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(stage - 1));
}

// The table as shown, with the boxes' texts: a save writes only the values
// whose text differs from what was read.
UpgradeTable UpgradePage::tableFromEdits() const {
    UpgradeTable table = m_table;
    for (int row = 0; row < kUpgradeRowCount; ++row) {
        for (int stage = 1; stage <= kUpgradeStageCount; ++stage) {
            table.values[static_cast<std::size_t>(row)][static_cast<std::size_t>(stage - 1)] =
                edit(row, stage)->text().toStdString();
        }
    }
    return table;
}

void UpgradePage::showTable(const UpgradeTable& table) {
    m_table = table;
    for (int row = 0; row < kUpgradeRowCount; ++row) {
        for (int stage = 1; stage <= kUpgradeStageCount; ++stage) {
            const std::string& value =
                table.values[static_cast<std::size_t>(row)][static_cast<std::size_t>(stage - 1)];
            edit(row, stage)->setText(QString::fromStdString(value));
        }
    }
}

QWidget* UpgradePage::controlFor(std::string_view key) const {
    const auto dot = key.find('.');
    for (int row = 0; row < kUpgradeRowCount; ++row) {
        if (kUpgradeRows[static_cast<std::size_t>(row)].key == key.substr(0, dot)) {
            const int stage = std::atoi(std::string(key.substr(dot + 1)).c_str());
            return stage >= 1 && stage <= kUpgradeStageCount ? edit(row, stage) : nullptr;
        }
    }
    return nullptr;
}

void UpgradePage::loadUpgradeTable() {
    runReportingErrors(this,
                       [this] { showTable(starfall::loadUpgradeTable(imageSession().imagePath)); });
    noteEditState();
}

bool UpgradePage::saveUpgradeTable() {
    UpgradeTable table = tableFromEdits();
    if (refusesRange(this, upgradeLayout(), table,
                     [this](std::string_view key) { return controlFor(key); }))
        return false;
    const bool saved = runSave({this, imageSession().imagePath, QStringLiteral("改造"),
                                readPastEnd(table.loaded)},
                               [&](CodeRule codes) {
                                   return starfall::saveUpgradeTable(imageSession().imagePath,
                                                                     table, codes);
                               });
    if (!saved)
        return false;
    m_table = table;
    noteEditState();
    return true;
}

void UpgradePage::resizeEvent(QResizeEvent* event) {
    EditorPage::resizeEvent(event);
    m_notice->setGeometry(noticeLeft(width()), kNoticeTop, kNoticeWidth, kNoticeHeight);
}

} // namespace starfall
