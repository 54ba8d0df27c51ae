#pragma once
// An activity reader written from the activity grammar as the open-source simulator reads it
// (its public structured-text reader and activity file classes): the first line is the
// signature and is skipped; items are split at blanks (every character up to the space) and
// parentheses; quoted strings take \n, \t and \<c> escapes and join with '+'; a word starting
// with '#' or '_' hides the item or block after it, and comment and skip blocks are hidden;
// a block reader takes the tokens it knows at its own level (names compared without case, the
// last one wins) and skips other blocks whole. Independent of the program's own code.
#include <optional>
#include <string>
#include <vector>

namespace actcheck {

struct Event {
    std::string category;  // lower case: eventcategorytime, ...location, ...action
    std::optional<long long> id;
    long long activationLevel = 0;  // 0 when missing, as the simulator takes it
    std::optional<double> time;
    bool hasOutcomes = false;
    bool hasDisplayMessage = false;
    std::optional<double> fogMetres, fogSeconds, overcast, overcastSeconds;
};

struct Activity {
    // What the simulator would warn about (or fail on); empty for a clean file.
    std::vector<std::string> warnings;
    std::string encoding;  // "utf-16le", "utf-8-bom" or "8-bit"
    bool crlf = false;     // every line end is CR LF
    std::string name;      // the header's display name, UTF-8
    int weather = 0;       // the header's weather, 0 when missing
    std::vector<Event> events;
    // Every item of the file in order, UTF-8, with blocks as "(" and ")": for comparing files.
    std::vector<std::string> items;
    // Positions in `items`: the header's Name and Weather values, and the first event's span
    // (its category word up to its closing parenthesis) or the whole Events block when that
    // holds nothing else.
    std::vector<std::size_t> nameItems, weatherItems;
    std::size_t firstEventBegin = 0, firstEventEnd = 0;
};

Activity ReadActivity(const std::string& bytes);

// The items of `read` without the first event (or its Events block) and with the header's Name
// and Weather values blanked; an original's items with only the blanking: two files that differ
// in nothing else give equal lists.
std::vector<std::string> ItemsWithoutFog(const Activity& read, bool dropFirstEvent);

}  // namespace actcheck
