#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

enum ExitCode : int { Success = 0, NoResult = 1, BadInput = 2, IoFailure = 3 };

// One result on standard output, UTF-8, followed by a newline.
void printLine(const QString& text);

// One line on standard error naming the program, and the exit code to return with it.
int fail(ExitCode code, const QString& message);

// Parses a subcommand's arguments (the command name first). Returns an exit code when the
// command is already done: its help was printed, or the arguments were refused.
std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments);

// A whole decimal number, optionally signed; none when the text is anything else.
std::optional<qlonglong> wholeNumber(const QString& text);

// The method flag a --method value names ("pythagorean" or "chaldean", in any case).
std::optional<int> methodNamed(const QString& name);

}  // namespace cli
