#pragma once
// Strings without --seed: the body's length uniform from the shortest to the longest, every
// character uniform over the alphabet, a body that lacks a required class drawn again whole (so
// that no character is favoured), then the page's head, tail and insertions.

#include "core/Alphabet.h"
#include "core/UniformSource.h"
#include "core/StringComposer.h"

#include <cstdint>
#include <string>

class SecureStringMaker {
public:
    // opt: head, tail, insertion spec and lengths (its class flags are not read).
    SecureStringMaker(const StringOptions& opt, const Alphabet& alphabet,
                      const ComposerSources& sources);
    // Appends one string to out.
    void Append(std::string& out, UniformSource& source);
    // With one body length (at least 1) and no required class: the string whose body is number
    // index of the letters^length bodies, for a shuffle.
    void AppendNumbered(std::string& out, std::uint64_t index);

private:
    void AppendBody(std::string& s, UniformSource& source);
    std::string& Begin(std::string& out);
    void End(std::string& out, std::string& s);

    StringOptions m_opt;
    InsertPlan m_plan;
    std::vector<std::uint16_t> m_codes;
    std::vector<std::uint8_t> m_classes;
    std::string m_bytes; // the codes as bytes, when every one is a single byte
    std::uint8_t m_required;
    std::string m_scratch; // a string with insertions is built here first
};
