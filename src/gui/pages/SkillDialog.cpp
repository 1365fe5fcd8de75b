#include "gui/pages/SkillDialog.h"

#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/ControlLabels.h"
#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/EditorFonts.h"
#include "gui/widgets/EditorFrame.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/NoticeStrip.h"
#include "gui/widgets/PageControls.h"
#include "gui/widgets/RecordSave.h"
#include "gui/widgets/StepEdit.h"
#include "core/text/Messages.h"
#include "core/skill/SkillFields.h"
#include "core/skill/SkillTableFile.h"
#include "core/skill/SkillTableLayout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

namespace starfall {

namespace {

constexpr std::string_view kNotice = "※ 명경지수, 갓츠, 고속이동은 추가/수정하지 마세요.";
constexpr int kColumnSlots[][2] = {{1, 6}, {7, 12}, {13, 19}};
// The strip's row: its left edge plus its width, kept free of controls.
constexpr int kNoticeRowWidth = SkillDialog::kNoticeLeft + SkillDialog::kNoticeWidth;

QLabel* header(const char* text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

void runSkillDialog(QWidget* parent, const SkillDialogRequest& request) {
    SkillDialog dialog(request, parent);
    dialog.exec();
}

SkillDialog::SkillDialog(SkillDialogRequest request, QWidget* parent)
    : QDialog(parent), m_request(std::move(request)) {
    setObjectName(QStringLiteral("skillDialog"));
    setWindowTitle(QStringLiteral("技能列表"));
    setModal(true);
    m_font = editorFont();
    m_font.setPixelSize(12);
    m_font.setWeight(QFont::Normal);
    buildControls();
    enableSlots(0);
    fixDialogFrame(this);
}

void SkillDialog::buildControls() {
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("nameLabel"));
    QPalette palette = m_name->palette();
    palette.setColor(QPalette::WindowText, QColor(60, 40, 250));
    m_name->setPalette(palette);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(18);
    for (const auto& range : kColumnSlots)
        columns->addLayout(buildColumn(range[0], range[1]));

    // The buttons of every page and dialog: Enter presses neither, and they
    // stand in the same order.
    m_cancel = pageButton("取消", "cancelButton", this);
    m_ok = pageButton("确定", "okButton", this);
    connect(m_ok, &QPushButton::clicked, this, &SkillDialog::saveSkillTable);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (!m_request.writable) {
        m_ok->setEnabled(false);
        m_ok->setToolTip(readOnlySaveTip());
    }

    // The notice strip lies on the dialog itself, under this row.
    m_notice = noticeStrip(this, m_font, QString::fromUtf8(kNotice), NoticeText::Transparent,
                           "noticeStrip");
    auto* bottom = new QHBoxLayout;
    bottom->addSpacing(kNoticeRowWidth);
    bottom->addStretch();
    bottom->addWidget(m_cancel);
    bottom->addWidget(m_ok);

    auto* dialog = new QVBoxLayout(this);
    dialog->setContentsMargins(kNoticeLeft, 12, 12, kNoticeAboveBottom - kNoticeHeight - 6);
    dialog->addWidget(m_name);
    dialog->addLayout(columns);
    dialog->addSpacing(10);
    dialog->addLayout(bottom);
}

QGridLayout* SkillDialog::buildColumn(int firstSlot, int lastSlot) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(6); // not the wider spacing between the columns
    const QString column = QString::number(firstSlot);
    grid->addWidget(header("技能", QStringLiteral("skillHeader") + column, this), 0, 0);
    grid->addWidget(header("习得等级", QStringLiteral("levelHeader") + column, this), 0, 1);
    for (int slot = firstSlot; slot <= lastSlot; ++slot)
        addSlotRow(grid, slot - firstSlot + 1, slot);
    grid->setRowStretch(lastSlot - firstSlot + 2, 1);
    return grid;
}

void SkillDialog::addSlotRow(QGridLayout* grid, int row, int slot) {
    SlotControls& controls = m_slots.at(static_cast<std::size_t>(slot - 1));
    const QString number = QString::number(slot);
    controls.skill =
        new ChoiceCombo(QStringLiteral("skillList") + number, SkillItems::kItems, this);
    nameRow(controls.skill, QStringLiteral("技能 ") + number);
    controls.level =
        new StepEdit(QStringLiteral("levelEdit") + number, StepEdit::Byte::Unsigned, this);
    nameRow(controls.level, QStringLiteral("习得等级 ") + number);
    connect(controls.level, &StepEdit::stepped, this,
            [this, slot](StepDirection direction) { stepLevel(slot, direction); });
    grid->addWidget(controls.skill, row, 0);
    grid->addWidget(controls.level, row, 1);
}

const SkillDialog::SlotControls& SkillDialog::slotAt(int slot) const {
    return m_slots.at(static_cast<std::size_t>(slot - 1));
}

void SkillDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    loadSkillTable();
}

void SkillDialog::loadSkillTable() {
    m_name->setText(displayName(m_request.nameCp949));
    m_table = SkillTable{m_request.nameCp949, m_request.tableStart, {}, {}};
    runReportingErrors(this, [this] {
        m_table = starfall::loadSkillTable(m_request.imagePath, m_request.nameCp949,
                                           m_request.tableStart);
    });
    enableSlots(static_cast<int>(m_table.slots.size()));
    refreshAll();
    m_clean = shownTable();
}

SkillTable SkillDialog::shownTable() const {
    SkillTable shown = m_table;
    for (std::size_t i = 0; i < shown.slots.size(); ++i) {
        shown.slots[i].skill = m_slots.at(i).skill->choice();
        shown.slots[i].level = m_slots.at(i).level->value().toStdString();
    }
    return shown;
}

bool SkillDialog::hasUnsavedEdits() const {
    return m_loaded && shownTable() != m_clean;
}

void SkillDialog::reject() {
    if (hasUnsavedEdits()) {
        switch (messagePresenter().ask(this, messages::unsavedEdits())) {
        case EditsChoice::Save:
            if (!saveSkillTable())
                return;
            break;
        case EditsChoice::Discard:
            break;
        case EditsChoice::Cancel:
            return;
        }
    }
    QDialog::reject();
}

QWidget* SkillDialog::controlFor(std::string_view key) const {
    for (int slot = 1; slot <= kMaxSkillSlots; ++slot) {
        if (key == "slots." + std::to_string(slot) + ".level")
            return slotAt(slot).level;
    }
    return nullptr;
}

void SkillDialog::enableSlots(int count) {
    for (int slot = 1; slot <= kMaxSkillSlots; ++slot) {
        const bool enabled = slot <= count && !isSkillSlotLocked(m_request.nameCp949, slot);
        const SlotControls& controls = slotAt(slot);
        controls.skill->setEnabled(enabled);
        controls.level->setEnabled(enabled);
    }
}

void SkillDialog::takeAll() {
    for (std::size_t i = 0; i < m_table.slots.size(); ++i) {
        m_table.slots[i].skill = m_slots.at(i).skill->choice();
        m_table.slots[i].level = m_slots.at(i).level->value().toStdString();
    }
}

void SkillDialog::refreshAll() {
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        const SlotControls& controls = m_slots[i];
        const bool read = i < m_table.slots.size();
        controls.skill->showChoice(read ? m_table.slots[i].skill : ListChoice::none());
        controls.level->showText(read ? QString::fromStdString(m_table.slots[i].level) : QString());
    }
}

void SkillDialog::stepLevel(int slot, StepDirection direction) {
    if (slot > static_cast<int>(m_table.slots.size()))
        return;
    takeAll();
    std::string& level = m_table.slots[static_cast<std::size_t>(slot - 1)].level;
    level = stepLearnLevel(level, direction);
    refreshAll();
}

bool SkillDialog::saveSkillTable() {
    takeAll();
    if (refusesRange(this, skillLayout(m_table), m_table,
                     [this](std::string_view key) { return controlFor(key); }))
        return false;
    const bool saved = runSave({this, m_request.imagePath, m_name->text(),
                                readPastEnd(m_table.loaded)},
                               [this](CodeRule codes) {
                                   return starfall::saveSkillTable(m_request.imagePath, m_table,
                                                                   codes);
                               });
    if (saved)
        m_clean = shownTable();
    return saved;
}

void SkillDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    m_notice->setGeometry(noticeRect(height()));
}

} // namespace starfall
