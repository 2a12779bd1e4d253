// The text a later start hands to the running copy: its arguments joined
// into one line, and the running copy's splitting of that line into paths.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace dorvane {

// The block holds 4095 characters and a terminating zero; a text of fewer
// than 3 characters is never a request.
inline constexpr int kHandOverBlockBytes = 8192;
inline constexpr int kHandOverMostChars = 4095;
inline constexpr int kHandOverFewestChars = 3;

// The arguments as one line for the block, or empty when nothing is to be
// written (no arguments, or a line outside 3..4095 characters). A relative
// path becomes a full one against currentFolder when it names an existing
// file or folder there, since the running copy has a folder of its own.
// With two or more arguments, each one without a double quote is written in
// quotes, so that the receiver splits the line again.
QString JoinCommandLine(const QStringList& arguments, const QString& currentFolder);

// The arguments as as many lines as they need, each of them what
// JoinCommandLine makes of a run of arguments in order, and each at most
// 4095 characters, so that every name reaches the running copy however
// many there are. Empty when there is nothing to hand over; nothing at all
// when one argument is too long for any line.
std::optional<QStringList> HandOverLines(const QStringList& arguments,
                                         const QString& currentFolder);

// The paths in a handed text: texts of 3..8191 characters only; a text
// without a double quote is one path (a name with blanks, handed alone);
// otherwise it is split by the command-line rules: characters up to the
// blank separate paths outside quotes, quotes are not part of a path, an
// empty pair of quotes gives nothing.
QStringList SplitHandedText(const QString& text);

} // namespace dorvane
