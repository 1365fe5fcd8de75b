#pragma once

// The units, pilots and skill tables of the lists, the weapons and the
// upgrade table printed straight from their bytes, each as its view
// (unitView, pilotView, skillTableView, weaponView, upgradeView) writes it:
// one read of the record, no record decoded and no view made. A table's
// print plan is worked out once.

#include "cli/DottedValues.h"
#include "cli/FieldPrinter.h"
#include "cli/JsonStream.h"
#include "cli/KeptRecordBytes.h"
#include "core/lists/NameList.h"
#include "core/skill/SkillTable.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace starfall::cli {

class ListedRecordPrinter {
public:
    ListedRecordPrinter(const std::string& image, NestedWriter& writer);

    // Entry `index` of unitlist.ini / charlist.ini.
    void unit(const NameList& units, std::size_t index, JsonStream& out);
    void pilot(const NameList& pilots, std::size_t index, JsonStream& out);
    // The skill table the pilot page opens for entry `index`, which must have one.
    void skillTable(const NameList& pilots, std::size_t index, JsonStream& out);
    // Weapon record `number`.
    void weapon(int number, JsonStream& out);
    // The upgrade table, as upgradeView writes it.
    void upgradeTable(JsonStream& out);

private:
    // The name, index, address and position of the entry, the values that
    // say which record it is.
    void addNaming(const NameList& list, std::size_t index);
    [[nodiscard]] std::string_view utf8(const std::string& cp949);

    // How the slots of a table print, for as many slots as the table with
    // the most met so far: the fields of a skill layout with its locked
    // slots in, each slot's skill then its level, slot after slot. A slot
    // prints alike in every table, so one printer serves every table with as
    // many slots or fewer. `plain`: two fields a slot (a layout made
    // otherwise prints through the view).
    struct SkillPrint {
        SkillPrint(const FieldTable<SkillTable>& fields, std::size_t slots, PrintedCodes& codes);
        FieldPrinter fields;
        std::size_t slots;
        bool plain;
    };

    const std::string& m_image;
    NestedWriter& m_writer;
    PrintedCodes m_codes; // shared by the printers below
    FieldPrinter m_unit;
    FieldPrinter m_weapon;
    std::array<std::optional<FieldPrinter>, 3> m_pilots; // made when a kind is first met
    std::optional<SkillPrint> m_skills;                  // made when a table has more slots
    JsonStream m_slots{0};                               // a table's list of slots, as printed
    std::string m_name;
    KeptRecordBytes m_listed;       // the listed records' bytes
    std::vector<int> m_weaponBytes; // a weapon's, read into one buffer for them all
    std::vector<int> m_upgradeBytes;
};

} // namespace starfall::cli
