#pragma once

// The little JSON the analysis tool and the benchmark write: objects of members in the order they
// are added, on one line.

#include <concepts>
#include <cstdio>
#include <string>
#include <string_view>

namespace quorbel::tools {

// A JSON string.
inline std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A JSON array of numbers.
template <typename Numbers>
std::string JsonList(const Numbers& numbers) {
    std::string text = "[";
    for (const auto number : numbers) {
        if (text.size() > 1) {
            text += ',';
        }
        text += std::to_string(number);
    }
    return text + "]";
}

class JsonObject {
  public:
    // value is JSON already: a number, Quoted(...), a list or another object.
    JsonObject& Add(std::string_view key, std::string_view value) {
        if (!members_.empty()) {
            members_ += ',';
        }
        members_ += Quoted(key);
        members_ += ':';
        members_ += value;
        return *this;
    }
    template <std::integral Number>
    JsonObject& Add(std::string_view key, Number number) {
        return Add(key, std::string_view(std::to_string(number)));
    }

    std::string Text() const { return "{" + members_ + "}"; }

  private:
    std::string members_;
};

}  // namespace quorbel::tools
