#include "man_pages/man_page.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "cli/usage_forms.h"

namespace sonarchive::man {
namespace {

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::size_t Indent(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    return first == std::string_view::npos ? line.size() : first;
}

std::string Trimmed(std::string_view line) {
    const std::size_t first = Indent(line);
    const auto last = line.find_last_not_of(" \t\r");
    return last == std::string_view::npos || last < first
               ? std::string()
               : std::string(line.substr(first, last - first + 1));
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Bold(std::string_view text) {
    return "\\fB" + RoffText(text) + "\\fR";
}

// "  --data-dir DIR  the catalog's folder": the term ends at two spaces, or at one where a
// long name leaves no more room ("  collection make, fill, ...").
HelpEntry EntryOf(const std::string& trimmed) {
    std::size_t gap = trimmed.find("  ");
    if (gap == std::string::npos) {
        gap = trimmed.find(' ');
    }
    if (gap == std::string::npos) {
        return {trimmed, {}};
    }
    return {trimmed.substr(0, gap), Trimmed(trimmed.substr(gap))};
}

std::vector<HelpEntry> EntriesOf(const std::vector<std::string>& lines) {
    std::vector<HelpEntry> entries;
    const std::size_t base = Indent(lines.front());
    for (const std::string& line : lines) {
        if (Indent(line) <= base || entries.empty()) {
            entries.push_back(EntryOf(Trimmed(line)));
        } else {
            std::string& description = entries.back().description;
            description += (description.empty() ? "" : " ") + Trimmed(line);
        }
    }
    return entries;
}

bool IsSectionBlock(const std::vector<std::string>& block) {
    const std::string& head = block.front();
    return block.size() > 1 && Indent(head) == 0 && head.back() == ':' &&
           std::all_of(block.begin() + 1, block.end(),
                       [](const std::string& line) { return Indent(line) > 0; });
}

// A paragraph as filled text, or kept line for line when it is laid out by indentation.
std::string ParagraphRoff(const std::string& paragraph) {
    const std::vector<std::string> lines = Lines(paragraph);
    const bool laidOut = std::any_of(lines.begin(), lines.end(),
                                     [](const std::string& line) { return Indent(line) > 0; });
    std::string roff = laidOut ? ".PP\n.nf\n" : ".PP\n";
    for (const std::string& line : lines) {
        roff += RoffText(laidOut ? line : Trimmed(line)) + "\n";
    }
    return roff + (laidOut ? ".fi\n" : "");
}

// Each usage statement on a line of its own, the program and the verb in bold.
std::string UsageRoff(const std::vector<std::string>& statements, const std::string& program,
                      const std::string& verb) {
    std::string roff;
    for (std::size_t i = 0; i < statements.size(); ++i) {
        std::istringstream words(statements[i]);
        std::string line;
        bool first = true;
        for (std::string word; words >> word; first = false) {
            const bool bold = first || word == verb;
            line += (first ? "" : " ") + (bold ? Bold(first ? program : word) : RoffText(word));
        }
        roff += (i == 0 ? "" : ".br\n") + line + "\n";
    }
    return roff;
}

std::string VerbOptionsRoff(const VerbHelp& verb) {
    std::vector<std::string> seen;
    std::string list;
    for (const cli::UsageForm& form : cli::ReadUsageForms(verb.name, verb.help)) {
        for (const cli::OptionForm& option : form.options) {
            const std::string shown = option.name + " " + option.value;
            if (std::find(seen.begin(), seen.end(), shown) != seen.end()) {
                continue;
            }
            seen.push_back(shown);
            list += (list.empty() ? "" : ", ") + Bold(option.name) +
                    (option.value.empty() ? "" : " \\fI" + RoffText(option.value) + "\\fR");
        }
    }
    return ".PP\nOptions: " + (list.empty() ? std::string("none") : list) + "\n";
}

std::string VerbRoff(const VerbHelp& verb, const std::string& program,
                     const std::string& exitStatus) {
    const cli::HelpParts parts = cli::SplitHelp(verb.help);
    std::string roff = ".SS " + RoffText(verb.name) + "\n" + RoffText(verb.summary) + ".\n.PP\n" +
                       UsageRoff(parts.usage, program, verb.name);
    const HelpBody body = ReadHelpBody(parts.body);
    for (const std::string& paragraph : body.paragraphs) {
        roff += ParagraphRoff(paragraph);
    }
    roff += VerbOptionsRoff(verb);
    for (const std::string& status : {body.exitStatus, exitStatus}) {
        if (!status.empty()) {
            roff += ParagraphRoff(status);
        }
    }
    return roff;
}

std::string SectionRoff(const HelpBody::Section& section, const ManPageSource& source,
                        const std::string& exitStatus) {
    std::string roff = ".SH " + RoffText(Upper(section.heading)) + "\n";
    if (section.heading == "Verbs" && !source.verbs.empty()) {
        for (const VerbHelp& verb : source.verbs) {
            roff += VerbRoff(verb, source.name, exitStatus);
        }
        return roff;
    }
    for (const HelpEntry& entry : section.entries) {
        roff += ".TP\n" + Bold(entry.term) + "\n" + RoffText(entry.description) + "\n";
    }
    return roff;
}

}  // namespace

std::string RoffText(std::string_view text) {
    std::string roff;
    for (const char c : text) {
        if (c == '\\') {
            roff += "\\e";
        } else if (c == '-') {
            roff += "\\-";
        } else if (c == '\n') {
            roff += "\n";
        } else {
            roff += c;
        }
        // A line must not begin as a request would.
        if ((roff.size() == 1 || (roff.size() >= 2 && roff[roff.size() - 2] == '\n')) &&
            (c == '.' || c == '\'')) {
            roff.insert(roff.size() - 1, "\\&");
        }
    }
    return roff;
}

HelpBody ReadHelpBody(std::string_view body) {
    HelpBody read;
    std::vector<std::vector<std::string>> blocks(1);
    for (const std::string& line : Lines(body)) {
        if (Trimmed(line).empty()) {
            if (!blocks.back().empty()) {
                blocks.emplace_back();
            }
        } else {
            blocks.back().push_back(line);
        }
    }
    for (const auto& block : blocks) {
        if (block.empty()) {
            continue;
        }
        if (IsSectionBlock(block)) {
            const std::string& head = block.front();
            read.sections.push_back(
                {head.substr(0, head.size() - 1), EntriesOf({block.begin() + 1, block.end()})});
            continue;
        }
        std::string paragraph;
        for (const std::string& line : block) {
            paragraph += (paragraph.empty() ? "" : "\n") + line;
        }
        if (paragraph.rfind("Exit status", 0) == 0) {
            read.exitStatus = paragraph;
        } else {
            read.paragraphs.push_back(paragraph);
        }
    }
    return read;
}

std::string WriteManPage(const ManPageSource& source) {
    const cli::HelpParts parts = cli::SplitHelp(source.help);
    const HelpBody body = ReadHelpBody(parts.body);
    std::string roff = ".TH \"" + RoffText(Upper(source.name)) + "\" 1 \"\" \"" +
                       RoffText(source.name + " " + source.version) + "\" \"User Commands\"\n" +
                       // Usage lines and option names read better unhyphenated, ragged right.
                       ".nh\n.ad l\n.SH NAME\n" + RoffText(source.name) + " \\- " +
                       RoffText(source.summary) + "\n.SH SYNOPSIS\n" +
                       UsageRoff(parts.usage, source.name, {}) + ".SH DESCRIPTION\n";
    for (const std::string& paragraph : body.paragraphs) {
        roff += ParagraphRoff(paragraph);
    }
    for (const HelpBody::Section& section : body.sections) {
        roff += SectionRoff(section, source, body.exitStatus);
    }
    if (!body.exitStatus.empty()) {
        const std::string text = Trimmed(body.exitStatus.substr(body.exitStatus.find(':') + 1));
        roff += ".SH \"EXIT STATUS\"\n" + RoffText(text) + "\n";
    }
    roff += source.includedRoff;
    if (!source.seeAlso.empty()) {
        roff += ".SH \"SEE ALSO\"\n";
        for (std::size_t i = 0; i < source.seeAlso.size(); ++i) {
            roff += ".BR " + RoffText(source.seeAlso[i]) + " (1)" +
                    (i + 1 < source.seeAlso.size() ? " ,\n" : "\n");
        }
    }
    return roff;
}

}  // namespace sonarchive::man
