#include "LogFormats.h"

#include <cstring>

namespace {

const char* const REGEX_SPECIALS = ".^$|()[]{}*+?\\";

} // namespace

LogFormats::LogFormats()
{
    for (const std::string& format : formats())
        patterns.emplace_back(patternOf(format));
}

bool LogFormats::matches(const std::string& line) const
{
    for (const std::regex& pattern : patterns) {
        if (std::regex_match(line, pattern))
            return true;
    }
    return false;
}

std::vector<std::string> LogFormats::strangers(const std::vector<std::string>& lines) const
{
    std::vector<std::string> result;
    for (const std::string& line : lines) {
        if (!matches(line))
            result.push_back(line);
    }
    return result;
}

const std::vector<std::string>& LogFormats::formats()
{
    static const std::vector<std::string> all = {
        "Game Manager Starting up!",
        "Running",
        "Frame time over target time by %d milliseconds",
        "GameOver",
        "%s is already marked for deletion",
        "Already started up",
        "Issue creating window",
        "Issue loading font",
        "Display shutting down",
        "Unknown color. Using default",
        "Sound array full",
        "Unable to load sound from %s",
        "Music array full",
        "Unable to load music from %s",
        "Error starting game manager!",
        "Destroying Apple",
        "Score = %i",
        "Can't place obsticle",
        "Placing apple at (%f,%f)",
    };
    return all;
}

std::string LogFormats::patternOf(const std::string& format)
{
    std::string pattern;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char ch = format[i];
        if (ch == '%' && i + 1 < format.size()) {
            char directive = format[++i];
            if (directive == 's')
                pattern += ".+";
            else if (directive == 'd' || directive == 'i')
                pattern += "-?[0-9]+";
            else if (directive == 'f')
                // printf's %f: digits, a point and six decimals; inf and nan are left out, no real place prints so.
                pattern += "-?[0-9]+\\.[0-9]{6}";
            else if (directive == '%')
                pattern += "%";
            else
                pattern += std::string("%") + directive;
        } else if (std::strchr(REGEX_SPECIALS, ch) != nullptr) {
            pattern += '\\';
            pattern += ch;
        } else {
            pattern += ch;
        }
    }
    return pattern;
}
