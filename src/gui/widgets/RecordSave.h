#pragma once

// How every page and dialog saves a record. The range rule comes first: while
// a changed field holds a number outside its range nothing is written, the
// user is told which field takes which numbers, and that field's control gets
// the focus with the typed text kept. Then the core's save runs under the
// editor's rule for sector codes, and the user hears "저장 완료" (or, for a
// record past the image's end that wrote nothing, that nothing changed) and
// which sectors keep stale codes. The status bar hears of every save.

#include "core/io/ImageSave.h"
#include "core/record/LoadedBytes.h"
#include "core/record/RecordLayout.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace starfall {

// What a landed save did, for whoever keeps count of saves.
struct SaveOutcome {
    QString what; // the record as the user knows it
    std::string imagePath;
    SaveReport report;
    QDateTime when;
};
using SaveListener = std::function<void(const SaveOutcome&)>;
// One listener for the program (the main window); empty for none.
void setSaveListener(SaveListener listener);

// Whether saves refresh the codes of the raw sectors they write: one rule for
// every page and dialog, set from the main window's menu.
void setSaveCodeRule(CodeRule rule);
[[nodiscard]] CodeRule saveCodeRule();

// The control that shows the field `key`, or null.
using FieldControl = std::function<QWidget*(std::string_view key)>;

// Tells the user that the field shown by `control` takes numbers from
// range.min to range.max, names it by the control's label (else by `key`),
// and puts the focus on it with its text selected.
void refuseOutOfRange(QWidget* parent, QWidget* control, std::string_view key, NumberRange range);

// Whether the record's changed fields break the range rule; if so, says so
// as refuseOutOfRange does.
template <typename Record>
[[nodiscard]] bool refusesRange(QWidget* parent, const RecordLayout<Record>& layout,
                                const Record& record, const FieldControl& controlFor) {
    const Field<Record>* field = layout.firstOutOfRange(record);
    if (field == nullptr)
        return false;
    refuseOutOfRange(parent, controlFor ? controlFor(field->key) : nullptr, field->key,
                     field->range);
    return true;
}

// Why a save button is off for a read-only image (its tooltip).
[[nodiscard]] QString readOnlySaveTip();

// Whether any byte of a record was read past the image's end.
[[nodiscard]] bool readPastEnd(const LoadedBytes& loaded);

struct SaveRequest {
    QWidget* parent = nullptr;
    std::string imagePath;
    QString what;
    bool pastEnd = false; // the record reaches past the image's end
};

// Runs `save` with the editor's code rule; a core failure is reported as
// every failure is. Returns whether the save landed.
bool runSave(const SaveRequest& request, const std::function<SaveReport(CodeRule)>& save);

} // namespace starfall
