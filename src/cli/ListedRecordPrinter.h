#pragma once

// The units and pilots of the lists printed straight from their bytes, each
// as its view (unitView, pilotView) writes it: one read of the record, no
// record decoded and no view made. A table's print plan is worked out once.

#include "cli/DottedValues.h"
#include "cli/FieldPrinter.h"
#include "cli/JsonStream.h"
#include "core/lists/NameList.h"

#include <array>
#include <optional>
#include <string>

namespace starfall::cli {

class ListedRecordPrinter {
public:
    ListedRecordPrinter(const std::string& image, NestedWriter& writer);

    // Entry `index` of unitlist.ini / charlist.ini.
    void unit(const NameList& units, std::size_t index, JsonStream& out);
    void pilot(const NameList& pilots, std::size_t index, JsonStream& out);

private:
    // The name, index, address and position of the entry, the values that
    // say which record it is.
    void addNaming(const NameList& list, std::size_t index);
    [[nodiscard]] std::string_view utf8(const std::string& cp949);

    const std::string& m_image;
    NestedWriter& m_writer;
    FieldPrinter m_unit;
    std::array<std::optional<FieldPrinter>, 3> m_pilots; // made when a kind is first met
    std::string m_name;
};

} // namespace starfall::cli
