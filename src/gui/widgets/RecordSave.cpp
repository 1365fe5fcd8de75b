#include "gui/widgets/RecordSave.h"

#include "core/patch/PatchMake.h"
#include "core/text/Messages.h"
#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/MessagePresenter.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QWidget>

#include <algorithm>

namespace starfall {

namespace {

SaveListener& listener() {
    static SaveListener installed;
    return installed;
}

CodeRule g_codeRule = CodeRule::Refresh;

void selectText(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
        spin->selectAll();
}

} // namespace

void setSaveListener(SaveListener installed) {
    listener() = std::move(installed);
}

void setSaveCodeRule(CodeRule rule) {
    g_codeRule = rule;
}

CodeRule saveCodeRule() {
    return g_codeRule;
}

void refuseOutOfRange(QWidget* parent, QWidget* control, std::string_view key, NumberRange range) {
    const QString label = control != nullptr ? control->accessibleName() : QString();
    const std::string name = label.isEmpty() ? std::string(key) : label.toStdString();
    messagePresenter().show(parent, messages::valueOutOfRange(name, range.min, range.max));
    if (control != nullptr) {
        control->setFocus(Qt::OtherFocusReason);
        selectText(control);
    }
}

QString readOnlySaveTip() {
    return QStringLiteral("이미지 파일에 쓸 수 없어 저장할 수 없습니다 (읽기 전용).");
}

bool readPastEnd(const LoadedBytes& loaded) {
    return std::any_of(loaded.bytes.begin(), loaded.bytes.end(), [](int byte) { return byte < 0; });
}

bool runSave(const SaveRequest& request, const std::function<SaveReport(CodeRule)>& save) {
    SaveReport report;
    if (!runReportingErrors(request.parent, [&] { report = save(g_codeRule); }))
        return false;
    const bool wroteNothing = report.bytesChanged == 0;
    messagePresenter().show(request.parent, request.pastEnd && wroteNothing
                                                ? messages::nothingChanged()
                                                : messages::saveDone());
    if (!report.staleSectors.empty())
        messagePresenter().show(request.parent,
                                messages::staleSectorsKept(
                                    request.imagePath, patch::describeSectors(report.staleSectors)));
    if (listener())
        listener()({request.what, request.imagePath, report, QDateTime::currentDateTime()});
    return true;
}

} // namespace starfall
