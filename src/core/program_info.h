// What the program says about itself: its version, the addresses of the
// project (feedback mail and the two site hosts) and the four texts of the
// about window, which the program keeps with every character code lowered
// by 32 so that they do not stand in the executable as plain text.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <string_view>

namespace dorvane {

// "major.minor.release.build", as the about window and the feedback mail's
// subject show it.
QString ProgramVersion();

inline constexpr std::array<const char*, 2> kFeedbackAddresses{"feedback@dorvane.example.org",
                                                               "support@dorvane.example.org"};
inline constexpr std::array<const char*, 2> kSiteHosts{"dorvane.example.org",
                                                       "www.dorvane.example.org"};
// The site's page for supporting the project, after the host.
inline constexpr const char* kContributePath = "/index/contribute/0-15";

// Adds 32 to every code, modulo 256: the stored form back to the text.
std::string RestoreStoredText(std::string_view stored);

// The about window's four texts: the maker's notice line (also shown by the
// visualiser) and three lines on supporting the project; restored once.
const std::array<QString, 4>& AboutTexts();

} // namespace dorvane
