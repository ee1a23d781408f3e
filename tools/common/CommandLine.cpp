#include "CommandLine.h"

#include <cstdio>
#include <utility>

CommandLine::CommandLine(std::string tool, std::string usage) : tool_(std::move(tool)), usage_(std::move(usage)) {}

void CommandLine::flag(std::string name, std::function<void()> set)
{
    options_.push_back({std::move(name), 0, {}, [set = std::move(set)](std::span<const std::string_view>) {
                            set();
                            return true;
                        }});
}

void CommandLine::option(std::string name, std::string wanted, std::function<bool(std::string_view)> read)
{
    options_.push_back({std::move(name), 1, std::move(wanted),
                        [read = std::move(read)](std::span<const std::string_view> values) { return read(values[0]); }});
}

void CommandLine::option(std::string name, std::string wanted, std::string& value)
{
    option(std::move(name), std::move(wanted), [&value](std::string_view text) {
        value = text;
        return true;
    });
}

void CommandLine::option(std::string name, std::size_t count, std::string wanted,
                         std::function<bool(std::span<const std::string_view>)> read)
{
    options_.push_back({std::move(name), count, std::move(wanted), std::move(read)});
}

void CommandLine::takePositionals(std::size_t most)
{
    mostPositionals_ = most;
}

void CommandLine::command(std::string name, std::vector<std::string> needed, std::vector<std::string> optional)
{
    commands_.push_back({std::move(name), std::move(needed), std::move(optional)});
}

std::optional<int> CommandLine::parse(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(usage_.c_str(), stdout);
            return 0;
        }
        // A lone "-" is not an option: tools read it as a name.
        if (argument.size() > 1 && argument.front() == '-') {
            const Option* option = find(argument);
            if (!option) {
                return refuse("unknown option '" + std::string(argument) + "'");
            }
            if (std::optional<int> status = readOption(*option, argc, argv, i)) {
                return status;
            }
        } else if (std::optional<int> status = takePositional(argument)) {
            return status;
        }
    }
    return checkCommand();
}

int CommandLine::refuse(std::string_view problem) const
{
    std::fprintf(stderr, "%s: %.*s (see --help)\n", tool_.c_str(), static_cast<int>(problem.size()), problem.data());
    return 2;
}

const CommandLine::Option* CommandLine::find(std::string_view name) const
{
    for (const Option& option : options_) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

std::optional<int> CommandLine::takePositional(std::string_view argument)
{
    if (!commands_.empty() && !chosen_) {
        for (const Command& command : commands_) {
            if (command.name == argument) {
                chosen_ = &command;
                return std::nullopt;
            }
        }
        return refuse("unknown command '" + std::string(argument) + "'");
    }
    const std::size_t most = chosen_ ? chosen_->needed.size() + chosen_->optional.size() : mostPositionals_;
    if (positionals_.size() >= most) {
        return refuse("unexpected argument '" + std::string(argument) + "'");
    }
    positionals_.emplace_back(argument);
    return std::nullopt;
}

std::optional<int> CommandLine::checkCommand() const
{
    if (commands_.empty()) {
        return std::nullopt;
    }
    if (!chosen_) {
        std::string names;
        for (const Command& command : commands_) {
            names += (names.empty() ? "" : " or ") + command.name;
        }
        return refuse("missing " + names);
    }
    if (positionals_.size() < chosen_->needed.size()) {
        return refuse(chosen_->name + " needs " + chosen_->needed[positionals_.size()]);
    }
    return std::nullopt;
}

std::optional<int> CommandLine::readOption(const Option& option, int argc, char** argv, int& index) const
{
    if (argc - 1 - index < static_cast<int>(option.count)) {
        return refuse("option '" + option.name + "' needs " + option.wanted);
    }
    std::vector<std::string_view> values(argv + index + 1, argv + index + 1 + option.count);
    index += static_cast<int>(option.count);
    if (!option.read(values)) {
        std::string given;
        for (std::string_view value : values) {
            given += (given.empty() ? "" : " ") + std::string(value);
        }
        return refuse("option '" + option.name + "' wants " + option.wanted + ", not '" + given + "'");
    }
    return std::nullopt;
}
