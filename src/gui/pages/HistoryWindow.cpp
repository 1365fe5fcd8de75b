#include "gui/pages/HistoryWindow.h"

#include "core/history/HistoryPatch.h"
#include "core/history/HistoryUndo.h"
#include "core/io/CoreError.h"
#include "core/patch/PatchFile.h"
#include "gui/widgets/CrispFrame.h"
#include "gui/widgets/ImageFileDialog.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/widgets/RecordSave.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace starfall {

namespace {

QString fieldsText(const std::vector<FieldChange>& fields) {
    QStringList parts;
    for (const FieldChange& field : fields)
        parts << QString::fromStdString(field.key + " " + field.before + " → " + field.after);
    return parts.join(QStringLiteral(", "));
}

QString actionText(const HistoryEntry& entry, bool standing) {
    QString text;
    if (entry.action == HistoryAction::Undo)
        text = QStringLiteral("%1번 저장 취소").arg(entry.reverses);
    else if (entry.action == HistoryAction::Redo)
        text = QStringLiteral("%1번 다시 저장").arg(entry.reverses);
    else
        text = QStringLiteral("저장");
    return standing ? text : text + QStringLiteral(" (취소됨)");
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* made = new QPushButton(text, parent);
    made->setObjectName(QLatin1String(name));
    return made;
}

} // namespace

HistoryWindow::HistoryWindow(std::string imagePath, QWidget* parent)
    : QDialog(parent), m_imagePath(std::move(imagePath)) {
    setObjectName(QStringLiteral("historyWindow"));
    setWindowTitle(QStringLiteral("저장 기록"));
    m_table = new QTableWidget(0, 4, this);
    keepFrameCrisp(m_table);
    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setAccessibleName(QStringLiteral("저장 기록"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("번호"), QStringLiteral("시각"), QStringLiteral("기록"),
         QStringLiteral("바뀐 값")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();

    m_undo = button(QStringLiteral("선택한 저장 취소(&U)"), "undoChosenButton", this);
    m_patch = button(QStringLiteral("패치로 저장(&P)…"), "savePatchButton", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("historyButtons"));
    buttons->addButton(m_undo, QDialogButtonBox::ActionRole);
    buttons->addButton(m_patch, QDialogButtonBox::ActionRole);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("닫기(&C)"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_undo, &QPushButton::clicked, this, &HistoryWindow::undoChosen);
    connect(m_patch, &QPushButton::clicked, this, &HistoryWindow::savePatch);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(720, 360);
    refresh();
}

void HistoryWindow::refresh() {
    try {
        recoverInterruptedSave(m_imagePath);
        m_entries = soundHistoryOf(m_imagePath);
    } catch (const CoreError& error) {
        m_entries.clear();
        messagePresenter().show(this, messageFor(error));
    }
    const std::vector<bool> standing = standingEntries(m_entries);
    m_table->setRowCount(static_cast<int>(m_entries.size()));
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const HistoryEntry& entry = m_entries[i];
        const auto row = static_cast<int>(i);
        const QString when = QDateTime::fromSecsSinceEpoch(entry.time).toString(
            QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString cells[] = {QString::number(i + 1), when,
                                 actionText(entry, standing[i]) + QStringLiteral(": ") +
                                     QString::fromStdString(entry.record),
                                 fieldsText(entry.fields)};
        for (int column = 0; column < 4; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    if (!m_entries.empty())
        m_table->selectRow(static_cast<int>(m_entries.size()) - 1);
    m_undo->setEnabled(!m_entries.empty());
    m_patch->setEnabled(!m_entries.empty());
}

void HistoryWindow::undoChosen() {
    const int row = m_table->currentRow();
    if (row < 0)
        return;
    try {
        const Reversal reversal =
            planUndo(m_imagePath, m_entries, static_cast<std::uint32_t>(row + 1));
        (void)applyReversal(m_imagePath, reversal, saveCodeRule());
    } catch (const CoreError& error) {
        messagePresenter().show(this, messageFor(error));
        return;
    }
    refresh();
    Q_EMIT imageChanged();
}

void HistoryWindow::savePatch() {
    const auto chosen = imageFileDialog().choosePatchFile(this, PatchFileUse::Save);
    if (!chosen)
        return;
    try {
        const auto changes = history::changesSince(m_imagePath, m_entries, 1);
        patch::writePatchFile(QFile::encodeName(*chosen).toStdString(),
                              history::makePpf(m_imagePath, changes, {}));
    } catch (const CoreError& error) {
        messagePresenter().show(this, messageFor(error));
        return;
    }
    messagePresenter().show(this, messages::saveDone());
}

} // namespace starfall
