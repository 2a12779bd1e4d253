// The subcommands of dorvane-tool. Each takes its own arguments (without the
// subcommand's name) and returns the process exit code: 0 done, 2 bad usage or
// bad input (after a one-line message on standard error).
#pragma once

#include <span>
#include <string_view>

namespace dorvane::tool {

using Args = std::span<const std::string_view>;

int RunMove(Args args);
int RunPerft(Args args);
int RunSelfPlay(Args args);
int RunDvn(Args args);
int RunAnalyse(Args args);
int RunGgf(Args args);
int RunTranscript(Args args);
int RunNboard(Args args);
int RunTags(Args args);
int RunPlaylist(Args args);

// Parses a whole number in [low, high]; false on anything else.
bool ParseInt(std::string_view text, long low, long high, long& out);

int Usage(std::string_view message); // prints "dorvane-tool: <message>", returns 2

} // namespace dorvane::tool
