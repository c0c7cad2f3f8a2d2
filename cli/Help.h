#pragma once
// The help texts, in the language of the other messages. --help-all prints every command under a
// heading of its own, which help2man turns into a section of the man page.

#include "Language.h"

#include <CLI/CLI.hpp>

#include <string>

std::string MainDescription(const Words& w);
std::string CommandDescription(const Words& w, const std::string& command);

class HelpFormatter : public CLI::Formatter {
public:
    explicit HelpFormatter(const Words& w) : m_w(w) {}
    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode mode) const override;
    std::string make_expanded(const CLI::App* sub) const override;

private:
    std::string OptionLines(const CLI::App* app, bool helpFlags) const;
    Words m_w;
};
