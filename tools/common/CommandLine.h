#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The command line of one tool. Every tool answers --help and -h, and
// refuses a mistake, the same way: the usage on standard output and exit 0
// for help, so that it can be read through a pager; one line on standard
// error and exit 2 for a mistake, so that a script's log shows what went
// wrong without the whole usage around it.
class CommandLine {
public:
    // The usage starts with a line "usage: TOOL ..." and ends with a newline.
    CommandLine(std::string tool, std::string usage);

    // An option that takes no value.
    void flag(std::string name, std::function<void()> set);
    // An option followed by one value. `read` returns false for a value it
    // cannot take; `wanted` says what it takes, as in "option '--size' wants
    // WxH, not '12'".
    void option(std::string name, std::string wanted, std::function<bool(std::string_view)> read);
    // An option followed by one value, kept as it is given.
    void option(std::string name, std::string wanted, std::string& value);
    // An option followed by `count` values, as in --compare A B.
    void option(std::string name, std::size_t count, std::string wanted,
                std::function<bool(std::span<const std::string_view>)> read);
    // How many arguments that are not options the tool takes; more are refused.
    void takePositionals(std::size_t most);
    // A first argument that says what the tool is to do, followed by the
    // arguments `needed` names and then, if given, those `optional` names:
    // command("write", {}, {"FOLDER"}) for "write [FOLDER]". A tool with
    // commands must be given one of them.
    void command(std::string name, std::vector<std::string> needed = {}, std::vector<std::string> optional = {});

    // Reads argv in order. Returns the status the tool exits with now: 0
    // after --help or -h, 2 after a mistake; nothing when the tool runs.
    std::optional<int> parse(int argc, char** argv);
    // The command given; empty for a tool without commands.
    std::string_view chosenCommand() const { return chosen_ ? std::string_view(chosen_->name) : std::string_view(); }
    // The arguments that are not options, after the command if there is one.
    const std::vector<std::string>& positionals() const { return positionals_; }

    // For a mistake the tool finds itself after parse: prints it as parse
    // prints its own and returns 2, the status to exit with.
    int refuse(std::string_view problem) const;

private:
    struct Option {
        std::string name;
        std::size_t count;
        std::string wanted;
        std::function<bool(std::span<const std::string_view>)> read;
    };

    struct Command {
        std::string name;
        std::vector<std::string> needed;
        std::vector<std::string> optional;
    };

    const Option* find(std::string_view name) const;
    // The status to exit with now, or nothing when the option was read;
    // moves index past the option's values.
    std::optional<int> readOption(const Option& option, int argc, char** argv, int& index) const;
    // The status to exit with now, or nothing when the argument was taken.
    std::optional<int> takePositional(std::string_view argument);
    // After the whole line: the status to exit with when the command or
    // one of its arguments is missing.
    std::optional<int> checkCommand() const;

    std::string tool_;
    std::string usage_;
    std::vector<Option> options_;
    std::size_t mostPositionals_ = 0;
    std::vector<std::string> positionals_;
    std::vector<Command> commands_;
    const Command* chosen_ = nullptr;
};
