#include "cli/ExportJson.h"

#include "cli/PilotJson.h"

#include "lists/NameListReader.h"

namespace starfall::cli {

namespace {

nlohmann::json pilotsJson(const std::string& image, const NameList& pilots) {
    nlohmann::json out = nlohmann::json::array();
    for (std::size_t i = 0; i < pilots.entries.size(); ++i)
        out.push_back(pilotJson(image, pilots, i));
    return out;
}

// Only the tables the pilot page could open.
nlohmann::json skillsJson(const std::string& image, const NameList& pilots) {
    nlohmann::json out = nlohmann::json::array();
    for (std::size_t i = 0; i < pilots.entries.size(); ++i) {
        if (hasSkillTable(pilots, i))
            out.push_back(skillTableJson(image, pilots, i));
    }
    return out;
}

} // namespace

nlohmann::json exportJson(const std::string& image, const std::string& directory) {
    const NameList pilots = loadNameList(directory, ListKind::Pilots);
    return {{"pilots", pilotsJson(image, pilots)}, {"skills", skillsJson(image, pilots)}};
}

} // namespace starfall::cli
