#include "gui/pages/PatchDialogs.h"

#include "gui/widgets/CrispFrame.h"
#include "gui/widgets/ImageFileDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace starfall {

namespace {

QLabel* captionOf(const QString& text, QWidget* buddy, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

QListWidget* namedList(const char* name, const QString& accessible, QWidget* parent) {
    auto* list = new QListWidget(parent);
    keepFrameCrisp(list);
    list->setObjectName(QString::fromLatin1(name));
    list->setAccessibleName(accessible);
    return list;
}

} // namespace

MakePatchDialog::MakePatchDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("makePatchDialog"));
    setWindowTitle(QStringLiteral("패치 만들기"));
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("patchFormatCombo"));
    m_format->addItems({QStringLiteral("PPF 3.0"), QStringLiteral("BPS")});
    m_format->setAccessibleName(QStringLiteral("형식"));
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("patchDescriptionEdit"));
    m_diz = new QLineEdit(this);
    m_diz->setObjectName(QStringLiteral("patchDizEdit"));
    auto* browse = new QPushButton(QStringLiteral("찾아보기(&B)…"), this);
    browse->setObjectName(QStringLiteral("patchDizBrowseButton"));
    browse->setAccessibleName(QStringLiteral("FILE_ID.DIZ 찾아보기"));
    connect(browse, &QPushButton::clicked, this, [this] {
        if (const auto chosen = imageFileDialog().choosePatchFile(this, PatchFileUse::Diz))
            m_diz->setText(*chosen);
    });
    auto* dizRow = new QHBoxLayout;
    dizRow->addWidget(m_diz, 1);
    dizRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(captionOf(QStringLiteral("형식(&F)"), m_format, "patchFormatLabel", this),
                 m_format);
    form->addRow(captionOf(QStringLiteral("설명(&D)"), m_description, "patchDescriptionLabel",
                           this),
                 m_description);
    form->addRow(captionOf(QStringLiteral("FILE_ID.DIZ(&Z)"), m_diz, "patchDizLabel", this),
                 dizRow);
    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("makePatchButtons"));
    QPushButton* make = buttons->addButton(QStringLiteral("만들기(&M)"), QDialogButtonBox::AcceptRole);
    make->setObjectName(QStringLiteral("makeButton"));
    QPushButton* cancel = buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A BPS carries no FILE_ID.DIZ.
    connect(m_format, &QComboBox::currentIndexChanged, this, [this, browse](int index) {
        m_diz->setEnabled(index == 0);
        browse->setEnabled(index == 0);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

patch::PatchKind MakePatchDialog::kind() const {
    return m_format->currentIndex() == 1 ? patch::PatchKind::Bps : patch::PatchKind::Ppf;
}

QString MakePatchDialog::description() const {
    return m_description->text();
}

QString MakePatchDialog::dizPath() const {
    return kind() == patch::PatchKind::Ppf ? m_diz->text() : QString();
}

PatchPreviewWindow::PatchPreviewWindow(QWidget* parent, PatchDirection direction,
                                       std::function<void()> goAhead)
    : QDialog(parent) {
    const bool apply = direction == PatchDirection::Apply;
    setObjectName(QStringLiteral("patchPreviewWindow"));
    setWindowTitle(apply ? QStringLiteral("패치 적용") : QStringLiteral("패치 되돌리기"));
    m_records = namedList("patchRecordsList", QStringLiteral("바뀌는 곳"), this);
    m_checks = namedList("patchChecksList", QStringLiteral("검사"), this);
    m_refusal = new QLabel(this);
    m_refusal->setObjectName(QStringLiteral("patchRefusalLabel"));
    m_refusal->setWordWrap(true);
    m_refusal->hide();
    m_goAhead = new QPushButton(apply ? QStringLiteral("적용(&A)") : QStringLiteral("되돌리기(&U)"), this);
    m_goAhead->setObjectName(QStringLiteral("goAheadButton"));
    m_goAhead->setAccessibleName(m_goAhead->text());
    m_goAhead->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("닫기(&C)"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(m_goAhead, &QPushButton::clicked, this, std::move(goAhead));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_goAhead);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(captionOf(QStringLiteral("바뀌는 곳(&R)"), m_records, "patchRecordsLabel",
                                this));
    layout->addWidget(m_records, 1);
    layout->addWidget(captionOf(QStringLiteral("검사(&C)"), m_checks, "patchChecksLabel", this));
    layout->addWidget(m_checks);
    layout->addWidget(m_refusal);
    layout->addLayout(buttons);
    resize(640, 420);
}

void PatchPreviewWindow::showPreview(const PatchPreview& preview,
                                     const std::vector<std::string>& warnings) {
    m_records->clear();
    m_checks->clear();
    if (!preview.refusal && !preview.changes.empty()) {
        for (const std::string& line : preview.touched.textLines())
            m_records->addItem(QString::fromStdString(line));
    }
    for (const std::string& line : warnings)
        m_checks->addItem(QString::fromStdString(line));
    for (const std::string& line : preview.checks)
        m_checks->addItem(QString::fromStdString(line));
    m_refusal->setVisible(preview.refusal.has_value());
    m_refusal->setText(preview.refusal ? QString::fromStdString(*preview.refusal) : QString());
    m_goAhead->setEnabled(preview.canGoAhead());
}

} // namespace starfall
