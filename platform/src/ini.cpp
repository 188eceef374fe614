// The INI format on text in memory, read and rewritten in one pass each, whatever bytes the text holds.
#include "ini.h"

#include <algorithm>
#include <charconv>
#include <utility>

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

// Where a key is looked for: only in the first section of its name, as the profile functions look; a section
// that comes again further down is passed over.
class FirstSection {
  public:
    explicit FirstSection(std::string_view name) : name_(name) {}
    // At each section line, in order.
    void Enter(std::string_view section) {
        if (state_ == kInside)
            state_ = kPast;
        else if (state_ == kBefore && SameName(section, name_))
            state_ = kInside;
    }
    bool Inside() const { return state_ == kInside; }

  private:
    std::string_view name_;
    enum { kBefore, kInside, kPast } state_ = kBefore;
};

// One line of the text as the format sees it; offsets are into the whole text.
struct IniLine {
    enum Kind { kOther, kSection, kEntry } kind = kOther;
    size_t end = 0;        // where the line's own bytes end (before its line break)
    size_t next = 0;       // where the next line starts
    bool blank = true;     // nothing but blanks
    std::string_view name; // the section's name or the entry's key, without blanks around it
    size_t valueBegin = 0; // the entry's value, without blanks around it
    size_t valueEnd = 0;
};

// Calls visit(line) for each line in order while it returns true. A line ends at LF, at CR LF, or at a CR
// alone, as old Mac editors end them.
template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    size_t begin = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (begin < text.size()) {
        IniLine line;
        const size_t brk = text.find_first_of("\r\n", begin);
        line.end = brk == std::string_view::npos ? text.size() : brk;
        line.next = brk == std::string_view::npos   ? text.size()
                    : text.substr(brk, 2) == "\r\n" ? brk + 2
                                                    : brk + 1;
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

// "\r\n", "\n" or "\r", as the text's first line ends.
std::string_view LineBreakOf(std::string_view text) {
    const size_t brk = text.find_first_of("\r\n");
    if (brk == std::string_view::npos || text.substr(brk, 2) == "\r\n") return "\r\n";
    return text[brk] == '\n' ? "\n" : "\r";
}

bool EndsWithLineBreak(std::string_view text) {
    return text.ends_with('\n') || text.ends_with('\r');
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

// UTF-16 with a byte-order mark ("Unicode" to Notepad) is read as UTF-8 and written back as it came: each
// 16-bit unit becomes the UTF-8 of its character, a lone surrogate the three bytes it would be as a
// character, so that going back gives every byte again. Bytes that are not such UTF-8 (a caller's value) go
// back as the unit of their own value.
enum class ByteOrder { kLittle, kBig };

std::optional<ByteOrder> Utf16Order(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return ByteOrder::kLittle;
    if (bytes.starts_with("\xFE\xFF")) return ByteOrder::kBig;
    return std::nullopt;
}

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsHighSurrogate(uint32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(uint32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// The text in UTF-8, and an odd last byte, which is no unit and goes back at the end as it was.
struct Utf16Text {
    std::string text;
    std::string oddByte;
};

Utf16Text FromUtf16(std::string_view bytes, ByteOrder order) {
    const auto unit = [&](size_t at) {
        const auto first = static_cast<uint8_t>(bytes[at]), second = static_cast<uint8_t>(bytes[at + 1]);
        return order == ByteOrder::kLittle ? uint32_t{first} | uint32_t{second} << 8
                                           : uint32_t{first} << 8 | uint32_t{second};
    };
    Utf16Text out;
    out.text.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        const uint32_t u = unit(2 * i);
        if (IsHighSurrogate(u) && i + 1 < units && IsLowSurrogate(unit(2 * i + 2))) {
            AppendUtf8(out.text, 0x10000 + ((u - 0xD800) << 10) + (unit(2 * i + 2) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out.text, u);
        }
    }
    if (bytes.size() % 2 != 0) out.oddByte = bytes.substr(bytes.size() - 1);
    return out;
}

// The character that starts at text[at] and how many bytes it takes; a byte that starts none is itself.
std::pair<uint32_t, size_t> NextCharacter(std::string_view text, size_t at) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[at + k]); };
    const uint8_t lead = byte(0);
    size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 1 || at + length > text.size()) return {lead, 1};
    uint32_t c = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return {lead, 1};
        c = c << 6 | (byte(k) & 0x3F);
    }
    // Only the shortest form of a character is one; anything else goes back byte by byte.
    constexpr uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || c > 0x10FFFF) return {lead, 1};
    return {c, length};
}

std::string ToUtf16(std::string_view text, ByteOrder order) {
    std::string out;
    out.reserve(2 * text.size());
    const auto put = [&](uint32_t u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += order == ByteOrder::kLittle ? low : high;
        out += order == ByteOrder::kLittle ? high : low;
    };
    for (size_t at = 0; at < text.size();) {
        const auto [c, length] = NextCharacter(text, at);
        at += length;
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

std::vector<std::optional<std::string>> FindIn(std::string_view text, const std::vector<IniKey>& keys) {
    std::vector<std::optional<std::string>> values(keys.size());
    std::vector<FirstSection> sections;
    for (const IniKey& k : keys)
        sections.emplace_back(k.section);
    size_t left = keys.size();
    ForEachLine(text, [&](const IniLine& line) {
        if (line.kind == IniLine::kSection) {
            for (FirstSection& s : sections)
                s.Enter(line.name);
        } else if (line.kind == IniLine::kEntry) {
            for (size_t i = 0; i < keys.size(); ++i) {
                if (sections[i].Inside() && !values[i] && SameName(line.name, keys[i].key)) {
                    values[i] = std::string(text.substr(line.valueBegin, line.valueEnd - line.valueBegin));
                    --left;
                }
            }
        }
        return left > 0;
    });
    return values;
}

std::string SetIn(std::string_view text, const std::vector<IniEntry>& entries) {
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
    std::vector<FirstSection> inFirst;
    for (const Target& t : targets)
        inFirst.emplace_back(t.section);
    SectionEnd* growing = nullptr;
    ForEachLine(text, [&](const IniLine& line) {
        if (line.kind == IniLine::kSection) {
            for (FirstSection& f : inFirst)
                f.Enter(line.name);
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
                if (inFirst[i].Inside() && !t.found && SameName(line.name, t.key)) {
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
        if (added.empty() && !text.empty() && !EndsWithLineBreak(text)) added += lineBreak;
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

} // namespace

std::vector<std::optional<std::string>> IniFind(std::string_view text, const std::vector<IniKey>& keys) {
    if (const auto order = Utf16Order(text)) return FindIn(FromUtf16(text, *order).text, keys);
    return FindIn(text, keys);
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
    if (const auto order = Utf16Order(text)) {
        const Utf16Text decoded = FromUtf16(text, *order);
        return ToUtf16(SetIn(decoded.text, entries), *order) + decoded.oddByte;
    }
    return SetIn(text, entries);
}

} // namespace platform
