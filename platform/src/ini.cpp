// The INI format on text in memory, read and rewritten in one pass each, whatever bytes the text holds.
#include "ini.h"

#include <algorithm>
#include <charconv>

namespace platform {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// One line of the text as the format sees it; offsets are into the whole text.
struct IniLine {
    enum Kind { kOther, kSection, kEntry } kind = kOther;
    size_t end = 0;        // where the line's own bytes end (before its LF)
    size_t next = 0;       // where the next line starts
    bool blank = true;     // nothing but blanks
    std::string_view name; // the section's name or the entry's key, without blanks around it
    size_t valueBegin = 0; // the entry's value, without blanks around it
    size_t valueEnd = 0;
};

// Calls visit(line) for each line in order while it returns true.
template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    size_t begin = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (begin < text.size()) {
        IniLine line;
        const size_t lf = text.find('\n', begin);
        line.end = lf == std::string_view::npos ? text.size() : lf;
        line.next = lf == std::string_view::npos ? text.size() : lf + 1;
        const std::string_view content = text.substr(begin, line.end - begin);
        const std::string_view trimmed = Trim(content);
        line.blank = trimmed.empty();
        const size_t eq = content.find('=');
        if (!trimmed.empty() && trimmed.front() == '[') {
            line.kind = IniLine::kSection;
            const size_t close = trimmed.find(']');
            line.name =
                Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        } else if (eq != std::string_view::npos) {
            line.kind = IniLine::kEntry;
            line.name = Trim(content.substr(0, eq));
            const std::string_view rest = content.substr(eq + 1);
            const std::string_view value = Trim(rest);
            line.valueBegin = begin + eq + 1 + static_cast<size_t>(value.data() - rest.data());
            line.valueEnd = line.valueBegin + value.size();
        }
        if (!visit(line)) return;
        begin = line.next;
    }
}

// "\r\n" or "\n", as the text's first line ends.
std::string_view LineBreakOf(std::string_view text) {
    const size_t lf = text.find('\n');
    if (lf == std::string_view::npos) return "\r\n";
    return lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

// An entry to make, after merging repeated keys: the last value asked for wins.
struct Target {
    std::string_view section;
    std::string_view key;
    std::string value;
    bool found = false;
    size_t valueBegin = 0, valueEnd = 0;
};

// Where the first section of a name ends, for the keys it does not have yet.
struct SectionEnd {
    std::string_view name;
    bool seen = false;
    size_t at = 0;           // after the section's last non-blank line
    bool needsBreak = false; // that line is the text's last and has no line break
    std::string lines;
};

struct Edit {
    size_t begin, end;
    std::string text;
    int order; // among edits at one place: values first, then added lines
};

} // namespace

std::vector<std::optional<std::string>> IniFind(std::string_view text, const std::vector<IniKey>& keys) {
    std::vector<std::optional<std::string>> values(keys.size());
    std::vector<bool> inSection(keys.size(), false);
    size_t left = keys.size();
    ForEachLine(text, [&](const IniLine& line) {
        if (line.kind == IniLine::kSection) {
            for (size_t i = 0; i < keys.size(); ++i)
                inSection[i] = SameName(line.name, keys[i].section);
        } else if (line.kind == IniLine::kEntry) {
            for (size_t i = 0; i < keys.size(); ++i) {
                if (inSection[i] && !values[i] && SameName(line.name, keys[i].key)) {
                    values[i] = std::string(text.substr(line.valueBegin, line.valueEnd - line.valueBegin));
                    --left;
                }
            }
        }
        return left > 0;
    });
    return values;
}

std::optional<int32_t> IniParseInteger(std::string_view value) {
    value = Trim(value);
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    int base = 10;
    if (value.starts_with("$")) {
        base = 16;
        value.remove_prefix(1);
    } else if (value.starts_with("0x") || value.starts_with("0X")) {
        base = 16;
        value.remove_prefix(2);
    }
    // from_chars takes no sign of its own here: one sign, before any prefix.
    if (value.empty() || value.front() == '-' || value.front() == '+') return std::nullopt;
    int64_t magnitude = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), magnitude, base);
    if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(signedValue);
}

std::string IniSet(std::string_view text, const std::vector<IniEntry>& entries) {
    std::vector<Target> targets;
    for (const IniEntry& e : entries) {
        const auto same = std::find_if(targets.begin(), targets.end(), [&](const Target& t) {
            return SameName(t.section, e.section) && SameName(t.key, e.key);
        });
        if (same != targets.end()) {
            same->value = e.value;
        } else {
            targets.push_back(Target{e.section, e.key, e.value, false, 0, 0});
        }
    }
    std::vector<SectionEnd> sections;
    for (const Target& t : targets) {
        if (std::none_of(sections.begin(), sections.end(),
                         [&](const SectionEnd& s) { return SameName(s.name, t.section); }))
            sections.push_back(SectionEnd{t.section, false, 0, false, {}});
    }

    // One pass: where each key's value is, and where each wanted section's first occurrence ends.
    std::vector<bool> inSection(targets.size(), false);
    SectionEnd* growing = nullptr;
    ForEachLine(text, [&](const IniLine& line) {
        if (line.kind == IniLine::kSection) {
            for (size_t i = 0; i < targets.size(); ++i)
                inSection[i] = SameName(line.name, targets[i].section);
            growing = nullptr;
            for (SectionEnd& s : sections) {
                if (!s.seen && SameName(line.name, s.name)) {
                    s.seen = true;
                    growing = &s;
                }
            }
        } else if (line.kind == IniLine::kEntry) {
            for (size_t i = 0; i < targets.size(); ++i) {
                Target& t = targets[i];
                if (inSection[i] && !t.found && SameName(line.name, t.key)) {
                    t.found = true;
                    t.valueBegin = line.valueBegin;
                    t.valueEnd = line.valueEnd;
                }
            }
        }
        if (growing && !line.blank) {
            growing->at = line.next;
            growing->needsBreak = line.next == line.end;
        }
        return true;
    });

    const std::string_view lineBreak = LineBreakOf(text);
    std::vector<Edit> edits;
    for (const Target& t : targets) {
        if (t.found) {
            edits.push_back({t.valueBegin, t.valueEnd, t.value, 0});
            continue;
        }
        SectionEnd& s = *std::find_if(sections.begin(), sections.end(),
                                      [&](const SectionEnd& e) { return SameName(e.name, t.section); });
        const std::string line = std::string(t.key) + "=" + t.value;
        if (!s.seen) {
            s.lines.append(line).append(lineBreak);
        } else if (s.needsBreak) {
            edits.push_back({s.at, s.at, std::string(lineBreak) + line, 1});
        } else {
            edits.push_back({s.at, s.at, line + std::string(lineBreak), 1});
        }
    }

    // Sections the text does not have go at the end, each after a blank line.
    std::string added;
    bool lastLineBlank = true;
    ForEachLine(text, [&](const IniLine& line) {
        lastLineBlank = line.blank;
        return true;
    });
    for (const SectionEnd& s : sections) {
        if (s.seen) continue;
        if (added.empty() && !text.empty() && !text.ends_with('\n')) added += lineBreak;
        if (!lastLineBlank) added += lineBreak;
        added.append("[").append(s.name).append("]").append(lineBreak).append(s.lines);
        lastLineBlank = false;
    }

    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return a.begin != b.begin ? a.begin < b.begin : a.order < b.order;
    });
    std::string out;
    out.reserve(text.size() + added.size() + 64 * edits.size());
    size_t copied = 0;
    for (const Edit& e : edits) {
        out.append(text.substr(copied, e.begin - copied));
        out += e.text;
        copied = e.end;
    }
    out.append(text.substr(copied));
    out += added;
    return out;
}

} // namespace platform
