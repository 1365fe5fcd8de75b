#include "gui/pages/ChangesWindow.h"

#include "gui/widgets/CrispFrame.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace starfall {

ChangesWindow::ChangesWindow(QWidget* parent, ShowRecord show)
    : QDialog(parent), m_show(std::move(show)) {
    setObjectName(QStringLiteral("changesWindow"));
    setWindowTitle(QStringLiteral("바뀐 곳 보기"));
    auto* caption = new QLabel(QStringLiteral("원본과 다른 곳(&L)"), this);
    caption->setObjectName(QStringLiteral("changesCaption"));
    m_list = new QListWidget(this);
    keepFrameCrisp(m_list);
    m_list->setObjectName(QStringLiteral("changesList"));
    m_list->setAccessibleName(QStringLiteral("원본과 다른 곳"));
    caption->setBuddy(m_list);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_list);
    resize(640, 360);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { activateRow(m_list->row(item)); });
}

void ChangesWindow::showComparison(const OriginalComparison& comparison) {
    m_records = comparison.records;
    m_list->clear();
    for (const std::string& line : comparison.textLines())
        m_list->addItem(QString::fromStdString(line));
}

void ChangesWindow::activateRow(int row) {
    // The last row, the bytes no record holds, shows nothing.
    if (row < 0 || static_cast<std::size_t>(row) >= m_records.size() || !m_show)
        return;
    const RecordChange& record = m_records[static_cast<std::size_t>(row)];
    m_show(record.section, record.index);
}

} // namespace starfall
