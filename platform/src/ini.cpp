// INI files as the Windows profile functions treat them: case-insensitive sections and keys, defaults for
// anything missing or unreadable, and writes that never leave a half-written file behind.
#include "platform.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace platform {
namespace {

std::string Trim(const std::string& s) {
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    const auto b = std::find_if(s.begin(), s.end(), notSpace);
    const auto e = std::find_if(s.rbegin(), s.rend(), notSpace).base();
    return b < e ? std::string(b, e) : std::string();
}

bool SameName(const std::string& a, const std::string& b) {
    const std::string x = Trim(a), y = Trim(b);
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char p, char q) {
               return std::tolower(static_cast<unsigned char>(p)) ==
                      std::tolower(static_cast<unsigned char>(q));
           });
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsSection(const std::string& line, std::string* name) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
    *name = t.substr(1, t.size() - 2);
    return true;
}

// Index of the key's line inside the section, or -1; sectionEnd gets the line after the section's last entry
// (or -1 when the section is missing).
long FindKey(const std::vector<std::string>& lines, const std::string& section, const std::string& key,
             long* sectionEnd) {
    bool inside = false;
    *sectionEnd = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (IsSection(lines[i], &name)) {
            if (inside) return -1;
            inside = SameName(name, section);
            if (inside) *sectionEnd = static_cast<long>(i) + 1;
            continue;
        }
        if (!inside) continue;
        if (!Trim(lines[i]).empty()) *sectionEnd = static_cast<long>(i) + 1;
        const size_t eq = lines[i].find('=');
        if (eq != std::string::npos && SameName(lines[i].substr(0, eq), key)) return static_cast<long>(i);
    }
    return -1;
}

bool ReadValue(const std::string& file, const std::string& section, const std::string& key,
               std::string* value) {
    const std::vector<std::string> lines = ReadLines(ResolvePath(file));
    long end = 0;
    const long at = FindKey(lines, section, key, &end);
    if (at < 0) return false;
    *value = Trim(lines[static_cast<size_t>(at)].substr(lines[static_cast<size_t>(at)].find('=') + 1));
    return true;
}

bool WriteValue(const std::string& file, const std::string& section, const std::string& key,
                const std::string& value) {
    const std::string path = ResolvePath(file);
    if (!PrepareForWrite(path)) return false;
    std::vector<std::string> lines = ReadLines(path);
    long end = 0;
    const long at = FindKey(lines, section, key, &end);
    const std::string entry = key + "=" + value;
    if (at >= 0) {
        lines[static_cast<size_t>(at)] = entry;
    } else if (end >= 0) {
        lines.insert(lines.begin() + end, entry);
    } else {
        if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines)
            out << line << "\r\n";
        out.flush();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

} // namespace

int32_t IniReadInteger(const std::string& file, const std::string& section, const std::string& key,
                       int32_t defaultValue) {
    std::string text;
    if (!ReadValue(file, section, key, &text) || text.empty()) return defaultValue;
    int base = 10;
    std::string digits = text;
    bool negative = false;
    if (digits[0] == '-' || digits[0] == '+') {
        negative = digits[0] == '-';
        digits.erase(0, 1);
    }
    if (digits.size() > 1 && digits[0] == '$') {
        base = 16;
        digits.erase(0, 1);
    } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.erase(0, 2);
    }
    if (digits.empty() || !std::isxdigit(static_cast<unsigned char>(digits[0]))) return defaultValue;
    errno = 0;
    char* end = nullptr;
    const long long magnitude = std::strtoll(digits.c_str(), &end, base);
    const long long value = negative ? -magnitude : magnitude;
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX) return defaultValue;
    return static_cast<int32_t>(value);
}

bool IniReadBool(const std::string& file, const std::string& section, const std::string& key,
                 bool defaultValue) {
    return IniReadInteger(file, section, key, defaultValue ? 1 : 0) != 0;
}

bool IniWriteInteger(const std::string& file, const std::string& section, const std::string& key,
                     int32_t value) {
    return WriteValue(file, section, key, std::to_string(value));
}

bool IniWriteBool(const std::string& file, const std::string& section, const std::string& key, bool value) {
    return WriteValue(file, section, key, value ? "1" : "0");
}

} // namespace platform
