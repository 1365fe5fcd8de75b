#include "pilot/CSkillDlg.h"

#include "app/CoreErrorReport.h"
#include "app/EditorFonts.h"
#include "app/MessagePresenter.h"
#include "app/NoticeStrip.h"
#include "image/Messages.h"
#include "pilot/PilotText.h"
#include "pilot/SkillTableFile.h"
#include "pilot/SkillTableLayout.h"
#include "pilot/SpinButtons.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace starfall {

namespace {

constexpr std::string_view kNotice = "※ 명경지수, 갓츠, 고속이동은 추가/수정하지 마세요.";
constexpr int kColumnSlots[][2] = {{1, 6}, {7, 12}, {13, 19}};
// The strip's row: its left edge plus its width, kept free of controls.
constexpr int kNoticeRowWidth = CSkillDlg::kNoticeLeft + CSkillDlg::kNoticeWidth;

QLabel* header(std::string_view text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(fromUtf8(text), parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

void runSkillDialog(QWidget* parent, const SkillDialogRequest& request) {
    CSkillDlg dialog(request, parent);
    dialog.exec();
}

CSkillDlg::CSkillDlg(SkillDialogRequest request, QWidget* parent)
    : QDialog(parent), m_request(std::move(request)) {
    setObjectName(QStringLiteral("skillDialog"));
    setWindowTitle(QStringLiteral("技能列表"));
    setModal(true);
    m_font = editorFont();
    m_font.setPixelSize(12);
    m_font.setWeight(QFont::Normal);
    buildControls();
    enableSlots(0);
}

void CSkillDlg::buildControls() {
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("nameLabel"));
    QPalette palette = m_name->palette();
    palette.setColor(QPalette::WindowText, QColor(60, 40, 250));
    m_name->setPalette(palette);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(18);
    for (const auto& range : kColumnSlots)
        columns->addLayout(buildColumn(range[0], range[1]));

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_ok, &QPushButton::clicked, this, &CSkillDlg::saveSkillTable);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The notice strip is painted on the dialog itself, under this row.
    auto* bottom = new QHBoxLayout;
    bottom->addSpacing(kNoticeRowWidth);
    bottom->addStretch();
    bottom->addWidget(m_ok);
    bottom->addWidget(m_cancel);

    auto* dialog = new QVBoxLayout(this);
    dialog->setContentsMargins(kNoticeLeft, 12, 12, kNoticeAboveBottom - kNoticeHeight - 6);
    dialog->addWidget(m_name);
    dialog->addLayout(columns);
    dialog->addSpacing(10);
    dialog->addLayout(bottom);
}

QGridLayout* CSkillDlg::buildColumn(int firstSlot, int lastSlot) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    const QString column = QString::number(firstSlot);
    grid->addWidget(header("技能", QStringLiteral("skillHeader") + column, this), 0, 0);
    grid->addWidget(header("习得等级", QStringLiteral("levelHeader") + column, this), 0, 1, 1, 2);
    for (int slot = firstSlot; slot <= lastSlot; ++slot)
        addSlotRow(grid, slot - firstSlot + 1, slot);
    grid->setRowStretch(lastSlot - firstSlot + 2, 1);
    return grid;
}

void CSkillDlg::addSlotRow(QGridLayout* grid, int row, int slot) {
    static const QRegularExpression digitsOnly(QStringLiteral("[0-9]*"));
    SlotControls& controls = m_slots.at(static_cast<std::size_t>(slot - 1));
    const QString number = QString::number(slot);

    controls.skill = new QComboBox(this);
    controls.skill->setObjectName(QStringLiteral("skillList") + number);
    controls.skill->setAccessibleName(QStringLiteral("技能 ") + number);
    for (const std::string_view item : SkillItems::kItems)
        controls.skill->addItem(fromUtf8(item));
    controls.skill->setCurrentIndex(-1);

    controls.level = new QLineEdit(this);
    controls.level->setObjectName(QStringLiteral("levelEdit") + number);
    controls.level->setAccessibleName(QStringLiteral("习得等级 ") + number);
    controls.level->setValidator(new QRegularExpressionValidator(digitsOnly, controls.level));
    controls.level->setFixedWidth(36);

    controls.spin = new SpinButtons(QStringLiteral("levelSpin") + number,
                                    QStringLiteral("习得等级 ") + number, this);
    connect(controls.spin, &SpinButtons::stepped, this,
            [this, slot](StepDirection direction) { stepLevel(slot, direction); });

    grid->addWidget(controls.skill, row, 0);
    grid->addWidget(controls.level, row, 1);
    grid->addWidget(controls.spin, row, 2);
}

const CSkillDlg::SlotControls& CSkillDlg::slotAt(int slot) const {
    return m_slots.at(static_cast<std::size_t>(slot - 1));
}

void CSkillDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    loadSkillTable();
}

void CSkillDlg::loadSkillTable() {
    m_name->setText(displayName(m_request.nameCp949));
    m_table = SkillTable{m_request.nameCp949, m_request.tableStart, {}, {}};
    runReportingErrors(this, [this] {
        m_table = starfall::loadSkillTable(m_request.imagePath, m_request.nameCp949,
                                           m_request.tableStart);
    });
    enableSlots(static_cast<int>(m_table.slots.size()));
    prepareUnlistedItems();
    refreshAll();
}

void CSkillDlg::enableSlots(int count) {
    for (int slot = 1; slot <= kMaxSkillSlots; ++slot) {
        const bool enabled = slot <= count && !isSkillSlotLocked(m_request.nameCp949, slot);
        const SlotControls& controls = slotAt(slot);
        controls.skill->setEnabled(enabled);
        controls.level->setEnabled(enabled);
        controls.spin->setEnabled(enabled);
    }
}

// A stored code without an item gets one more item reading the code, so that
// the slot shows it and a save writes it back unless a skill is picked.
void CSkillDlg::prepareUnlistedItems() {
    for (int slot = 1; slot <= kMaxSkillSlots; ++slot) {
        QComboBox* list = skillList(slot);
        while (list->count() > kUnlistedItem)
            list->removeItem(kUnlistedItem);
        if (slot > static_cast<int>(m_table.slots.size()))
            continue;
        const auto code = m_table.slots[static_cast<std::size_t>(slot - 1)].skill.unlistedCode();
        if (code)
            list->addItem(QString::number(*code));
    }
}

void CSkillDlg::takeAll() {
    for (std::size_t i = 0; i < m_table.slots.size(); ++i) {
        SkillSlot& slot = m_table.slots[i];
        const SlotControls& controls = m_slots.at(i);
        const int index = controls.skill->currentIndex();
        if (index >= 0 && index < kUnlistedItem)
            slot.skill = ListChoice::item(index);
        else if (index == kUnlistedItem)
            slot.skill = ListChoice::unlisted(slot.storedCode);
        else
            slot.skill = ListChoice::none();
        slot.level = toUtf8(controls.level->text());
    }
}

void CSkillDlg::refreshAll() {
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        const SlotControls& controls = m_slots[i];
        if (i >= m_table.slots.size()) {
            controls.skill->setCurrentIndex(-1);
            controls.level->clear();
            continue;
        }
        const SkillSlot& slot = m_table.slots[i];
        controls.skill->setCurrentIndex(slot.skill.unlistedCode() ? kUnlistedItem
                                                                  : slot.skill.indexOr(-1));
        controls.level->setText(fromUtf8(slot.level));
    }
}

void CSkillDlg::stepLevel(int slot, StepDirection direction) {
    if (slot > static_cast<int>(m_table.slots.size()))
        return;
    takeAll();
    std::string& level = m_table.slots[static_cast<std::size_t>(slot - 1)].level;
    level = stepLearnLevel(level, direction);
    refreshAll();
}

void CSkillDlg::saveSkillTable() {
    takeAll();
    const bool saved = runReportingErrors(
        this, [this] { starfall::saveSkillTable(m_request.imagePath, m_table); });
    if (saved)
        messagePresenter().show(this, messages::saveDone());
}

void CSkillDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    const QPixmap strip =
        noticeStrip(kNoticeWidth, kNoticeHeight, m_font, fromUtf8(kNotice), NoticeText::Transparent);
    QPainter painter(this);
    painter.drawPixmap(noticeRect(height()).topLeft(), strip);
}

} // namespace starfall
