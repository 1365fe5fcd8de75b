#include "cli/CliDocs.h"

#include "cli/CliContext.h"
#include "cli/CliMain.h"
#include "core/Version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>

namespace starfall::cli {

namespace {

// A command and the words that lead to it ("", "pilot", "pilot get").
struct Command {
    const CLI::App* app;
    std::string path;
};

// Every command in the order help lists them, depth first.
std::vector<Command> commandsOf(const CLI::App& root) {
    std::vector<Command> commands;
    std::function<void(const CLI::App&, const std::string&)> walk = [&](const CLI::App& app,
                                                                        const std::string& path) {
        commands.push_back({&app, path});
        for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
            walk(*sub, path.empty() ? sub->get_name() : path + ' ' + sub->get_name());
    };
    walk(root, "");
    return commands;
}

// A line as roff takes it literally: backslashes and hyphens escaped, and no
// leading '.' or '\'' that would read as a request.
std::string roffLine(const std::string& line) {
    std::string out = line.starts_with('.') || line.starts_with('\'') ? "\\&" : "";
    for (const char c : line) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string roffBlock(const std::string& text) {
    std::string out = ".nf\n";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        out += line.empty() ? ".sp\n" : roffLine(line) + '\n';
        start = end + 1;
    }
    return out + ".fi\n";
}

// Help as `starfall-cli PATH --help` prints it.
std::string helpOf(const Command& command) {
    std::string prefix = "starfall-cli";
    const auto lastSpace = command.path.rfind(' ');
    if (lastSpace != std::string::npos)
        prefix += ' ' + command.path.substr(0, lastSpace);
    return command.path.empty() ? command.app->help() : command.app->help(prefix);
}

std::string optionWords(const CLI::App& app) {
    std::string words;
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_lnames())
            words += (words.empty() ? "--" : " --") + name;
        for (const std::string& name : option->get_snames())
            words += (words.empty() ? "-" : " -") + name;
    }
    return words;
}

} // namespace

std::string manualPage() {
    CLI::App app;
    CliContext context;
    buildCommandLine(app, context, {});
    const std::vector<Command> commands = commandsOf(app);

    std::string page =
        ".TH STARFALL\\-CLI 1 \"\" \"starfall " + std::string(kVersion) + "\" \"User Commands\"\n";
    page += ".SH NAME\nstarfall\\-cli \\- " + roffLine(app.get_description()) + '\n';
    page +=
        ".SH SYNOPSIS\n.B starfall\\-cli\n[\\fB\\-\\-dir\\fR \\fIDIR\\fR] \\fICOMMAND\\fR ...\n";
    page += ".SH DESCRIPTION\n" + roffBlock(helpOf(commands.front()));
    page += ".SH COMMANDS\n";
    for (std::size_t i = 1; i < commands.size(); ++i)
        page += ".SS " + roffLine(commands[i].path) + '\n' + roffBlock(helpOf(commands[i]));
    page += ".SH FILES\n"
            "charlist.ini, unitlist.ini and weapon.ini: with \\fB\\-\\-dir\\fR, in DIR "
            "only; otherwise each in the first of the program's folder, the image's folder "
            "and \\fI$XDG_CONFIG_HOME/starfall\\fR (\\fI~/.config/starfall\\fR) that holds it.\n";
    page += ".SH \"EXIT STATUS\"\n"
            "0 on success; 1 when an image, a list file, a patch or an import file cannot be "
            "read or written, or a check reports a finding; 2 for a bad command line.\n";
    page += ".SH \"SEE ALSO\"\n.BR starfall\\-editor (1)\n";
    return page;
}

std::string bashCompletion() {
    CLI::App app;
    CliContext context;
    buildCommandLine(app, context, {});
    const std::vector<Command> commands = commandsOf(app);

    std::string known; // every command path past the root, as "/pilot/get"
    std::string cases;
    for (const Command& command : commands) {
        std::string slashed = command.path.empty() ? "" : '/' + command.path;
        std::replace(slashed.begin(), slashed.end(), ' ', '/');
        if (!slashed.empty())
            known += (known.empty() ? "\"" : "|\"") + slashed + '"';
        std::string words = optionWords(*command.app);
        for (const CLI::App* sub :
             command.app->get_subcommands([](const CLI::App*) { return true; }))
            words += ' ' + sub->get_name();
        cases += "        \"" + slashed + "\") words=\"" + words + "\" ;;\n";
    }
    return "# bash completion for starfall-cli " + std::string(kVersion) +
           ", written from its own command table\n"
           "_starfall_cli() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local path=\"\" words=\"\" i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case \"$path/${COMP_WORDS[i]}\" in\n"
           "        " +
           known +
           ") path=\"$path/${COMP_WORDS[i]}\" ;;\n"
           "        esac\n"
           "    done\n"
           "    if [[ $prev == --dir ]]; then\n"
           "        COMPREPLY=($(compgen -d -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    case \"$path\" in\n" +
           cases +
           "    esac\n"
           "    COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           "    [[ $cur == -* ]] || COMPREPLY+=($(compgen -f -- \"$cur\"))\n"
           "}\n"
           "complete -o filenames -F _starfall_cli starfall-cli\n";
}

} // namespace starfall::cli
