#pragma once
// The numbered caption and message texts of the interface, in both languages.
// Entries not listed are empty in both languages.

#include <cstddef>

namespace arenor::lang {

struct TextEntry {
    int number;
    const char *norwegian; // UTF-8
    const char *english;   // UTF-8
};

extern const TextEntry kMessages[];
extern const std::size_t kMessageCount;
extern const TextEntry kCaptions[];
extern const std::size_t kCaptionCount;

} // namespace arenor::lang
